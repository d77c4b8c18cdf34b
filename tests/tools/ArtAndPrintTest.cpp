// The art maker and the print program: the checker on a broken set, a rebuild that keeps the
// designer's pictures, a second brand drawn and printed, bad brand files, the certificate.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <regex>

#include "Files.h"
#include "Pictures.h"

namespace {

RunResult art(const std::string& arguments) {
    return runCommand("ASAN_OPTIONS=detect_leaks=0 " SOLRIND_ART_MAKER " " + arguments);
}

RunResult print(const std::string& folder, const std::string& handOver,
                const std::string& env = "") {
    writeFile(folder + "/Bin/tmp", handOver);
    return runCommand("cd " + folder + " && " + env +
                      " ASAN_OPTIONS=detect_leaks=0 " SOLRIND_PRINTIT);
}

// A copy of an example brand with its logo and photo, in a folder of its own.
std::string exampleBrand(const char* name) {
    const std::string folder = makeTempDir("brand");
    runCommand("cd " SOLRIND_BRANDS " && cp " + std::string(name) + ".toml sonnwerk-* " + folder);
    return folder;
}

std::string words(int n) {
    std::string text;
    for (int i = 0; i < n; ++i)
        text += " and more words";
    return text;
}

}  // namespace

TEST(ArtCheck, EveryProblemOfABrokenSetIsOneLine) {
    const std::string folder = makeTempDir("broken") + "/" + std::string(120, 'd');  // a long name
    ASSERT_EQ(runCommand("mkdir " + folder + " && cp -R " SOLRIND_ART_DIR "/GFX " + folder).status,
              0);
    const std::string gfx = folder + "/GFX/";
    ASSERT_EQ(art("--icon " + gfx + "Backgrounds/Rules.bmp").status, 0);  // a PNG named .bmp
    writePlainBmp(gfx + "Backgrounds/Welcome.bmp", 500, 480, kRed);
    writePlainBmp(gfx + "Backgrounds/Solrind2.bmp", 600, 520, kRed);
    writeBmp(gfx + "Screens/Creditscreen.bmp", 640, 520, positionColour, 128);
    unlink((gfx + "Backgrounds/Solrind.bmp").c_str());
    unlink((gfx + "Backgrounds/Prizes2.bmp").c_str());
    mkdir((gfx + "Backgrounds/Prizes2.bmp").c_str(), 0755);
    // The 7 wiped out and a pink speck; two tiles alike; a speck in the clock's area.
    // clang-format off
    const std::pair<const char*, const char*> edits[] = {
        {"Menus/GameFont", "-fill '#FF00FF' -draw 'rectangle 133,17 151,33' -fill '#F000F0' -draw 'point 300,5'"},
        {"Game/Puzzle", "-fill '#00FF00' -draw 'rectangle 88,0 263,87'"},
        {"Backgrounds/GameBackground", "-fill '#FFFFFF' -draw 'rectangle 400,500 404,504'"},
        {"Menus/Buttons", "-crop 360x371+0+0 +repage"}};  // made before the print control
    // clang-format on
    for (const auto& [name, draw] : edits) {
        const std::string file = gfx + name + ".bmp";
        ASSERT_EQ(
            runCommand("convert " + file + " " + draw + " -type truecolor BMP3:" + file).status, 0);
    }
    const RunResult run = art("--check " + folder);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(
        run.out,
        // clang-format off
              "Warning: GFX/Menus/GameFont.bmp has 1 almost magenta pixel, shown as pink specks: draw the transparent parts in pure magenta (255, 0, 255) without anti-aliasing\n"
              "Warning: GFX/Menus/Buttons.bmp is 360x371: it has no print control (row 8 from y 371, its three pictures of 120x53), so players print only with P; make it 360x424\n"
              "Warning: GFX/Screens/Creditscreen.bmp has an alpha channel with see-through pixels: the game draws every pixel opaque; save it without alpha\n"
              "GFX/Backgrounds/Welcome.bmp is 500x480; it must be at least 520x520\n"
              "GFX/Backgrounds/Rules.bmp cannot be read as a picture (File is not a Windows BMP file): save it as a Windows BMP, 24 bits\n"
              "GFX/Backgrounds/Prizes2.bmp is a folder: put a BMP of 520x520 there\n"
              "GFX/Backgrounds/Solrind.bmp is missing: put a BMP of 520x520 there\n"
              "Warning: GFX/Backgrounds/Solrind2.bmp is 600x520: only its top left 520x520 is shown\n"
              "Warning: GFX/Backgrounds/GameBackground.bmp: the area of the clock (385, 492, 95x17) is not one colour: the text drawn there may be hard to read\n"
              "Warning: GFX/Game/Puzzle.bmp: 1 pair of tiles looks alike, the first the tiles at column 1, row 0 and column 2, row 0: make every tile different, so that a player can tell where each belongs\n"
              "GFX/Menus/GameFont.bmp: the glyph of 7 (x 133, y 17, 19x17) is all magenta: draw it\n"
              "Checked 21 pictures in " + folder + "/GFX: 5 errors, 6 warnings\n");
    // clang-format on
}

// A rebuilt art maker draws what is missing, redraws its own, never the designer's pictures.
TEST(ArtMaker, RedrawsOnlyWhatIsMissingOrStillItsOwn) {
    const std::string folder = makeTempDir("artmaker");
    const std::string gfx = folder + "/GFX/Backgrounds/";
    ASSERT_EQ(art("--if-stale " + folder).status, 0);
    EXPECT_EQ(art("--check " + folder).out,
              "Checked 21 pictures in " + folder + "/GFX: all usable\n");
    // While a name is typed H, S and P type letters: the record screen does not offer them.
    EXPECT_GT(
        std::stoi(runCommand("compare -metric AE -extract 520x30+0+470 " + gfx +
                             "Congratulations1.bmp " + gfx + "Congratulations2.bmp null: 2>&1")
                      .out),
        500);
    const std::string rules = readFile(gfx + "Rules.bmp");
    const std::string prizes = readFile(gfx + "Prizes1.bmp");
    ASSERT_FALSE(rules.empty());
    writeFile(gfx + "Welcome.bmp", rules);  // the designer's own welcome screen
    struct stat before;
    ASSERT_EQ(stat((gfx + "Rules.bmp").c_str(), &before), 0);
    unlink((gfx + "Prizes1.bmp").c_str());
    RunResult result = art("--if-stale " + folder);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Drew 1 picture into " + folder + "/GFX\n");
    EXPECT_EQ(readFile(gfx + "Welcome.bmp"), rules);
    EXPECT_EQ(readFile(gfx + "Prizes1.bmp"), prizes);
    struct stat after;
    ASSERT_EQ(stat((gfx + "Rules.bmp").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);  // its own, unchanged drawing is left as it was
    // What it draws from decides, not dates: a brand, then a new logo under the same brand
    // file, then the built-in brand again; each redraws its own pictures, never the
    // designer's; the same brand again draws nothing.
    const std::string brand = folder + "/brand.toml", logo = folder + "/logo.png";
    std::string text = readFile(SOLRIND_BRANDS "/solrind.toml");
    writeFile(brand, text.replace(text.find("logo = \"\""), 9, "logo = \"logo.png\""));
    std::string menu = readFile(folder + "/GFX/Menus/Menu.bmp");
    for (const char* colour : {"red", "blue", ""}) {
        if (*colour)
            runCommand(std::string("convert -size 60x40 xc:") + colour + " " + logo);
        const std::string with = *colour ? "--brand " + brand + " " : "";
        result = art(with + "--if-stale " + folder);
        EXPECT_TRUE(std::regex_match(result.out, std::regex("Drew [0-9]+ pictures into .*\n")))
            << colour << ": " << result.out;
        EXPECT_NE(readFile(folder + "/GFX/Menus/Menu.bmp"), menu) << colour;  // its logo
        menu = readFile(folder + "/GFX/Menus/Menu.bmp");
        EXPECT_EQ(art(with + "--if-stale " + folder).out, "") << colour;
        EXPECT_EQ(readFile(gfx + "Welcome.bmp"), rules) << colour;
    }
    EXPECT_EQ(readFile(gfx + "Rules.bmp"), rules);
}

// A word wider than its panel is broken between its letters: none right of the margin.
TEST(Brand, ALongWordStaysWithinItsPanel) {
    const std::string brand = exampleBrand("solrind"), file = brand + "/solrind.toml";
    std::string text = readFile(file);
    const size_t start = text.find("Midsummer night");
    writeFile(file, text.replace(start, text.find("\"\"\"", start) - start,
                                 "Donaudampfschifffahrtselektrizitätenhauptbetriebswerkbau"
                                 "unterbeamtengesellschaftskapitänswitwenrentenversicherung"));
    const RunResult run = art("--brand " + file + " " + brand);
    EXPECT_EQ(run.status, 0) << run.err;
    SDL_Surface* welcome = SDL_LoadBMP((brand + "/GFX/Backgrounds/Welcome.bmp").c_str());
    int right = -1;  // of the text's colour, which only letters have
    for (int y = 100; y < 300; ++y)
        for (int x = 0; x < 520; ++x)
            right = pixelAt(welcome, x, y) == 0xFFF4DC ? std::max(right, x) : right;
    EXPECT_GT(right, 400);
    EXPECT_LE(right, 480);
    SDL_FreeSurface(welcome);
}

// The second example, as it stands in docs/ (the first is the built-in brand every other test
// draws): drawn, checked, printed, its web page.
TEST(Brand, ASecondBrandIsDrawnCheckedAndPrinted) {
    EXPECT_EQ(runCommand("ls " SOLRIND_BRANDS "/*.toml | wc -l").out, "5\n");  // no other
    const std::string brand = exampleBrand("sonnwerk"), game = brand + "/game";
    RunResult run = art("--brand " SOLRIND_BRANDS "/sonnwerk.toml " + game);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Drew 21 pictures into " + game + "/GFX\n");
    EXPECT_EQ(art("--check " + game).out, "Checked 21 pictures in " + game + "/GFX: all usable\n");
    EXPECT_EQ(art("--brand " SOLRIND_BRANDS "/soleil.toml " + brand + "/fr").err, "");  // the third
    SDL_Surface* menu = SDL_LoadBMP((game + "/GFX/Menus/Menu.bmp").c_str());
    EXPECT_EQ(pixelAt(menu, 5, 300), 0x06231Bu);  // the menu column in the brand's panel colour
    SDL_FreeSurface(menu);
    menu = SDL_LoadBMP((brand + "/fr/GFX/Menus/Menu.bmp").c_str());
    EXPECT_EQ(pixelAt(menu, 87, 42), 0xFF8A3Du);  // the sun's right ray in the brand's glow
    SDL_FreeSurface(menu);
    // The puzzle is the photo's middle square scaled to 440 by 440, as ImageMagick makes it.
    EXPECT_LT(std::stod(runCommand("convert " + brand +
                                   "/sonnwerk-foto.jpg -gravity center -crop 440x440+0+0 " + brand +
                                   "/square.png && compare -metric RMSE " + game +
                                   "/GFX/Game/Puzzle.bmp " + brand + "/square.png null: 2>&1")
                            .out),
              0.02 * 65535);  // one of 65535: a crop 10 pixels off is at 0.04
    // The second start screen shows it in its frame, with the cuts between the pieces.
    const std::string shown =
        "cd " + brand +
        " && convert game/GFX/Screens/Startscreen-02.bmp -crop "
        "300x300+170+104 +repage s.png && convert game/GFX/Game/Puzzle.bmp "
        "-resize 300x300 p.png && compare -metric RMSE s.png p.png null: 2>&1";
    EXPECT_LT(std::stod(runCommand(shown).out), 0.15 * 65535);  // 0.08; another screen: 0.47
    // The certificate from the same brand, beside the print program: its language and paper.
    runCommand("mkdir " + game + "/Bin && ln -s " + brand + "/sonnwerk.toml " + game +
               "/Bin/brand.toml");
    run = print(game, "Cheaters will be punished!\r\n02:05\r\n");
    EXPECT_EQ(run.status, 0) << run.out;
    const std::string pdf = runCommand("ls " + game + "/Certificates/*.pdf").out;
    const std::string text = runCommand("pdftotext " + pdf.substr(0, pdf.size() - 1) + " -").out;
    for (const char* line :
         {"Urkunde", "Das Sonnwerk-Puzzle wurde gelöst in", "02:05", "2 Minuten und 5 Sekunden",
          "Zeige diese Urkunde am Stand von Sonnwerk"})
        EXPECT_THAT(text, HasSubstr(line));
    EXPECT_THAT(text, Not(HasSubstr("Solrind")));
    EXPECT_THAT(runCommand("pdfinfo " + pdf).out, HasSubstr("612 x 792 pts (letter)"));
    EXPECT_EQ(runCommand("pdfimages -list " + pdf.substr(0, pdf.size() - 1) + " | wc -l").out,
              "2\n");  // its SVG logo as vectors
    // The web page around the game in the brand's words.
    run = art("--brand " + brand + "/sonnwerk.toml --site-page " SOLRIND_SOURCE "/web/index.html " +
              brand + "/index.html");
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string page = readFile(brand + "/index.html");
    for (const char* part :
         {"<html lang=\"de\">", "<title>Das Sonnwerk-Puzzle</title>", ">Drucken</button>",
          ">Schließen</button>", ">Wird geladen …</p>", "\"ended\": \"Das Spiel ist zu Ende."})
        EXPECT_THAT(page, HasSubstr(part)) << part;
    EXPECT_THAT(page, Not(HasSubstr("{{")));
}

// Texts in any script as they are written, on the screens and the certificate: Japanese from
// a font that has it, broken between its characters; Arabic from the right. A character that
// no font has is a problem, not a box.
TEST(Brand, EveryScriptIsDrawnAndPrintedAsItIsWritten) {
    const std::string folder = makeTempDir("scripts");
    const struct {
        const char* name;
        uint32_t accent;
        int left, right;  // the welcome title's ink in the brand's accent
        const char* claim;
    } brands[] = {{"hinode", 0xFFD27A, 44, 167,
                   "この認定証をひので電力のブースで見せて、賞品を受け取って\nください。\n"},
                  {"shams", 0xF4C95D, 328, 476, "جائزتك"}};
    for (const auto& brand : brands) {
        const std::string game = folder + "/" + brand.name;
        RunResult run =
            art("--brand " SOLRIND_BRANDS "/" + std::string(brand.name) + ".toml " + game);
        EXPECT_EQ(run.out + run.err, "Drew 21 pictures into " + game + "/GFX\n");
        SDL_Surface* welcome = SDL_LoadBMP((game + "/GFX/Backgrounds/Welcome.bmp").c_str());
        int left = 520, right = -1;
        for (int y = 60; y < 100; ++y)
            for (int x = 0; x < 520; ++x)
                if (pixelAt(welcome, x, y) == brand.accent)
                    left = std::min(left, x), right = std::max(right, x);
        EXPECT_EQ(left, brand.left) << brand.name;
        EXPECT_EQ(right, brand.right) << brand.name;
        SDL_FreeSurface(welcome);
        runCommand("mkdir " + game + "/Bin && cp " SOLRIND_BRANDS "/" + brand.name + ".toml " +
                   game + "/Bin/brand.toml");
        run = print(game, "Check\r\n01:05\r\n");
        const std::string pdf = game + "/Certificates/" + brand.name + "-certificate-01-05-*.pdf";
        EXPECT_THAT(runCommand("pdftotext " + pdf + " -").out, HasSubstr(brand.claim));
    }
    SDL_Surface* rules = SDL_LoadBMP((folder + "/shams/GFX/Backgrounds/Rules.bmp").c_str());
    EXPECT_EQ(pixelAt(rules, 463, 103), 0xC3A14Au);  // an item's number at its right
    SDL_FreeSurface(rules);
    std::string text = readFile(SOLRIND_BRANDS "/hinode.toml");
    writeFile(folder + "/no-font.toml", text.replace(text.find("\"賞品\""), 8, "\"𓀀賞\""));
    EXPECT_EQ(
        art("--brand " + folder + "/no-font.toml " + folder + "/none").err,
        folder + "/no-font.toml: menu.buttons[3]: no installed font has 1 of its characters\n");
    // A soft hyphen where the claim breaks shows as a hyphen.
    const std::string word =
        "Donau\u00ADdampf\u00ADschiff\u00ADfahrts\u00ADelektrizitäten\u00ADhaupt"
        "\u00ADbetriebs\u00ADwerk\u00ADbau\u00ADunter\u00ADbeamten\u00ADgesellschaft";
    text = readFile(SOLRIND_BRANDS "/solrind.toml");
    const size_t claim = text.find("claim = ") + 9;
    writeFile(folder + "/hinode/Bin/brand.toml",
              text.replace(claim, text.find('"', claim) - claim, word));
    runCommand("rm -r " + folder + "/hinode/Certificates");
    print(folder + "/hinode", "Check\r\n01:05\r\n");
    EXPECT_THAT(runCommand("pdftotext -raw " + folder + "/hinode/Certificates/*.pdf -").out,
                HasSubstr("Donaudampfschifffahrtselektrizitätenhaupt-"
                          "\nbetriebswerkbauunterbeamtengesellschaft"));
}

TEST(Brand, ABrandThatCannotBeDrawnSaysWhereAndDrawsNothing) {
    const std::string brand = exampleBrand("solrind");
    const std::string file = brand + "/solrind.toml", original = readFile(file);
    // Files a stranger names cost nothing: only regular picture files of a sane size are read.
    writeFile(brand + "/photo.jpg", "not a photo");
    writeFile(brand + "/secret.txt", "root:x:0:0:secret\n");
    writeFile(brand + "/huge.png",
              std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x3e\x80\0\0\x3e\x80", 24));
    writeFile(brand + "/huge.svg",
              "<svg width=\"30000\" height=\"30000\"><rect width=\"9\"/></svg>");
    mkfifo((brand + "/pipe.png").c_str(), 0644);
    const struct {
        const char* from;
        std::string to;
        std::string line;  // what the art maker says, as a pattern
    } bad[] = {
        // clang-format off
        {"puzzle = \"\"", "puzzle = \"photo.jpg\"", ": pictures.puzzle: cannot read .*/photo.jpg \\(.+\\)"},
        {"ink = ", "accnt = \"#000000\"\nink = ", ": colours.accnt: unknown entry"},
        {"accent = \"#FFD660\"", "accent = \"#12\\nsolrind: drew 21 pictures\"",  // no forged line
         ": colours.accent: \"#12\\\\nsolrind: drew 21 pictures\" is no colour: write \"#RRGGBB\""},
        {"call = \"Tap Play or press S to start\"", "", ": welcome.call: missing"},
        {"title = \"The Solrind Puzzle\"", "title = \"The Solrind Puzzle", ":[0-9]+:[0-9]+: .+"},
        {"logo = \"\"", "logo = \"secret.txt\"", ": pictures.logo: cannot read .*/secret.txt \\(it is no PNG, JPEG, GIF, BMP, WebP or SVG picture\\)"},
        {"logo = \"\"", "logo = \"huge.png\"", ": pictures.logo: cannot read .*/huge.png \\(it declares 16000 by 16000 pixels, more than 10000 a side or 30000000 in all: make it smaller\\)"},
        {"logo = \"\"", "logo = \"pipe.png\"", ": pictures.logo: cannot read .*/pipe.png \\(it is not a regular file\\)"},
        // clang-format on
    };
    for (const auto& b : bad) {
        std::string text = original;
        text.replace(text.find(b.from), strlen(b.from), b.to);
        writeFile(file, text);
        runCommand("rm -rf " + brand + "/game");
        const RunResult run = art("--brand " + file + " " + brand + "/game");
        EXPECT_EQ(run.status, 1) << b.to;
        EXPECT_TRUE(std::regex_match(run.err, std::regex(file + b.line + "\n"))) << run.err;
        EXPECT_FALSE(fileExists(brand + "/game")) << b.to;
    }
    // The browser's certificate page: no file but a picture goes into it (the pipe above).
    EXPECT_EQ(runCommand("ASAN_OPTIONS=detect_leaks=0 " SOLRIND_PRINTIT " --page " + brand +
                         "/c.html " + file)
                  .out,
              "Printit: " + file + ": pictures.logo: cannot read " + brand +
                  "/pipe.png (it is not a regular file)\n");
    EXPECT_THAT(readFile(brand + "/c.html"), Not(HasSubstr("data:")));
    // A brand file that is a pipe, and a hand-over file that is one: a line, no wait.
    RunResult piped = art("--brand " + brand + "/pipe.png " + brand + "/game");
    EXPECT_EQ(piped.status * 1000 + piped.out.size(), 1000u);
    EXPECT_EQ(piped.err, brand + "/pipe.png: cannot read it (it is not a regular file)\n");
    runCommand("mkdir -p " + brand + "/game/Bin && mkfifo " + brand + "/game/Bin/tmp");
    piped = runCommand("cd " + brand + "/game && ASAN_OPTIONS=detect_leaks=0 " SOLRIND_PRINTIT);
    EXPECT_EQ(piped.out, "Printit: cannot read Bin/tmp: it is not a regular file\n");
    runCommand("rm -rf " + brand + "/game");
    // Every problem of a file in one run, each entry named as the file reads it, from 1.
    std::string all = original;
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"accent = \"#FFD660\"", "accent = \"gold\""},
          {"title = \"Second prize\"\n", ""},
          {"logo = \"\"", "logo = \"missing.png\""},
          {"\"Hover over a piece", "\"Hover over a piece" + words(90)}})
        all.replace(all.find(from), from.size(), to);
    writeFile(file, all);
    const RunResult every = art("--brand " + file + " " + brand + "/game");
    EXPECT_EQ(every.status, 1);
    EXPECT_TRUE(std::regex_match(
        every.err,
        std::regex(file + ": colours.accent: .*\n" + file + ": prizes\\[2\\].title: missing\n" +
                   file + ": pictures.logo: cannot read .*\n" + file +
                   ": rules.items\\[4\\]: [0-9]+ lines, at most [0-9] fit\n")))
        << every.err;
    // An entry newer than the file (the keyboard's OK) is the built-in one, and says so.
    // Its logo a 30000 by 30000 SVG: drawn at the size it is shown.
    std::string older = original;
    older.replace(older.find("logo = \"\""), 9, "logo = \"huge.svg\"");
    older.erase(older.find("ok = \"OK\""),
                older.find('\n', older.find("ok = \"OK\"")) - older.find("ok = \"OK\"") + 1);
    writeFile(file, older);
    const RunResult run = art("--brand " + file + " " + brand + "/game");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(
        run.out,
        file +
            ": record.ok: not in the file; the built-in \"OK\" stands in\nDrew 21 pictures into " +
            brand + "/game/GFX\n");
}

// The French example: the check line, the date, the singular of 0 and the file name (safe,
// whatever the brand says) in its words.
TEST(Printit, TheCertificateSpeaksTheBrandsLanguage) {
    const std::string folder = makeTempDir("francais");
    std::string text = readFile(SOLRIND_BRANDS "/soleil.toml");
    runCommand("mkdir " + folder + "/Bin");
    writeFile(folder + "/Bin/brand.toml",
              text.replace(text.find("file = "), 19, "file = \"Certificat été/../\""));
    const RunResult run = print(folder, "Cheaters will be punished!\r\n00:07\r\n");
    EXPECT_EQ(run.status, 0) << run.out;
    const std::string pdf = runCommand("ls " + folder + "/Certificates/").out;
    EXPECT_TRUE(std::regex_match(pdf, std::regex("certificat-été-00-07-[0-9-]+\\.pdf\n"))) << pdf;
    const std::string shown =
        runCommand("pdftotext " + folder + "/Certificates/" + pdf.substr(0, pdf.size() - 1) + " -")
            .out;
    for (const char* line : {"0 minute et 7 secondes", "Les tricheurs seront punis !"})
        EXPECT_THAT(shown, HasSubstr(line));
    EXPECT_TRUE(std::regex_search(
        shown,
        std::regex("Imprimé le ((lun|mar|mercre|jeu|vendre|same)di|dimanche) [0-9]{2} (janvier|"
                   "février|mars|avril|mai|juin|juillet|août|septembre|octobre|novembre|"
                   "décembre) [0-9]{4} à [0-9]{2}:[0-9]{2}")))
        << shown;
    EXPECT_THAT(shown, Not(HasSubstr("Cheaters")));
}

TEST(Printit, TheCertificateShowsTheTimeAndIsKept) {
    const std::string folder = makeTempDir("printit");
    runCommand("mkdir " + folder + "/Bin");
    for (const char* bad : {"x\r\n99:99\r\n", "Cheaters\r\n", "x\r\n2:05\r\n",
                            "x\r\n02:05 and more\r\n", "x\r\n+1:23\r\n", "x\r\n 1:23\r\n",
                            "x\r\n-0:05\r\n", "x\r\n01:+5\r\n", "x\r\n01:60\r\n"}) {
        const RunResult run = print(folder, bad);
        EXPECT_EQ(run.status * 1000 + fileExists(folder + "/Certificates"), 1000) << bad;
        EXPECT_EQ(run.out, "Printit: Bin/tmp holds no time of the form MM:SS\n") << bad;
    }
    RunResult run = print(folder, "Cheaters will be punished!\n01:01\n");  // line feeds alone
    EXPECT_THAT(run.out, HasSubstr("for 01:01"));
    run = print(folder, "Cheaters will be punished!\r\n02:05\r\n");
    EXPECT_EQ(run.status, 0) << run.out;
    std::smatch where;
    ASSERT_TRUE(std::regex_match(
        run.out, where,
        std::regex("Printit: no printer is configured; the certificate for 02:05 is kept "
                   "at (/.*/Certificates/solrind-02-05-[0-9]{8}-[0-9]{6}-[0-9]+\\.pdf)\n")))
        << run.out;
    const std::string text = runCommand("pdftotext " + where[1].str() + " -").out;
    for (const char* line : {"02:05", "2 minutes and 5 seconds", "Cheaters will be punished!",
                             "Show this certificate at the Solrind stand"})
        EXPECT_THAT(text, HasSubstr(line));
    unlink((folder + "/Bin/tmp").c_str());
    run = runCommand("cd " + folder + " && ASAN_OPTIONS=detect_leaks=0 " SOLRIND_PRINTIT);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Printit: cannot read Bin/tmp: No such file or directory\n");
    // The browser's certificate page, in the brand's words; anything else: how to call it.
    run = runCommand("ASAN_OPTIONS=detect_leaks=0 " SOLRIND_PRINTIT " --page " + folder +
                     "/c.html " SOLRIND_BRANDS "/sonnwerk.toml");
    EXPECT_EQ(run.status * 1000 + run.out.size(), 0u) << run.out << run.err;
    EXPECT_THAT(readFile(folder + "/c.html"),
                HasSubstr(">Zeige diese Urkunde am Stand von Sonnwerk"));
    run = runCommand("ASAN_OPTIONS=detect_leaks=0 " SOLRIND_PRINTIT " --pages x");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out,
              "Usage: solrind_printit (in the game folder), or solrind_printit --page "
              "<page.html> [<brand file>]\n");
}

// In an event the certificate names its round: the code under a QR code of the round's page,
// which a phone reads off the printed page; outside one, or without a round, as ever.
TEST(Printit, InAnEventTheCertificateNamesItsRoundInAQrCode) {
    const std::string folder = makeTempDir("printit-event");
    runCommand("mkdir " + folder + "/Bin");
    const std::string id = "3f2a91b0c4d2e5f60718293a4b5c6d7e";
    writeFile(folder + "/Bin/round", id + "\n");
    const std::string event = "SOLRIND_EVENT_PAGE=https://event.example/";
    const auto printed = [&](const std::string& env, std::string& qr) {
        const RunResult run = print(folder, "Cheaters will be punished!\r\n01:22\r\n", env);
        const size_t at = run.out.find(" is kept at ");
        if (at == std::string::npos)
            return run.out;
        const std::string pdf = run.out.substr(at + 12, run.out.size() - at - 13);
        qr = runCommand("pdftoppm -r 150 -png -singlefile " + pdf + " " + pdf + " && zbarimg -q " +
                        "--raw " + pdf + ".png")
                 .out;
        return run.out.substr(0, at) + "\n" + runCommand("pdftotext " + pdf + " -").out;
    };
    std::string qr;
    const std::string text = printed(event, qr);
    EXPECT_EQ(qr, "https://event.example/round.html?code=3f2a91b0c4d2&time=01%3A22\n");
    EXPECT_THAT(text, HasSubstr("3F2A-91B0-C4D2"));
    EXPECT_THAT(text, HasSubstr("01:22"));
    qr.clear();
    EXPECT_THAT(printed("", qr), Not(HasSubstr("3F2A")));  // no event: as ever
    EXPECT_EQ(qr, "");
    // A round that cannot be named: the certificate is printed without one, after one line.
    const std::string noId = "Bin/round holds no round's id";
    const std::vector<std::pair<const char*, std::string>> unnamed = {
        {"3f2a91b0c4d2\n", noId},
        {"../../etc/passwd\n", noId},
        {"", noId},
        {nullptr, "cannot read Bin/round: No such file or directory"}};
    for (const auto& [bad, why] : unnamed) {
        if (bad)
            writeFile(folder + "/Bin/round", bad);
        else
            unlink((folder + "/Bin/round").c_str());
        qr.clear();
        const std::string said = printed(event, qr);
        EXPECT_EQ(said.substr(0, said.find("; the")), "Printit: " + why);
        EXPECT_THAT(said,
                    HasSubstr("the certificate names no round\nPrintit: no printer is configured; "
                              "the certificate for 01:22"))
            << said;
        EXPECT_EQ(qr, "");
    }
}
