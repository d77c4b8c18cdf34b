// A second brand (another language, other colours, a logo, a photo of another size, a long
// text) drawn, checked and printed; brand files that cannot be drawn, each said in one line
// that names the file and the entry, with nothing drawn.
#include <gtest/gtest.h>

#include <regex>

#include "Files.h"
#include "Pictures.h"

namespace {

RunResult art(const std::string& arguments) {
    return runCommand("ASAN_OPTIONS=detect_leaks=0 " SOLRIND_ART_MAKER " " + arguments);
}

// A copy of an example brand with its logo and a 900 by 600 photo, in a folder of its own.
std::string exampleBrand(const char* name) {
    const std::string folder = makeTempDir("brand");
    EXPECT_EQ(runCommand("cp " SOLRIND_BRANDS "/" + std::string(name) +
                         ".toml " SOLRIND_BRANDS "/sonnwerk-logo.svg " + folder +
                         " && convert -size 900x600 -seed 7 "
                         "plasma:fractal " +
                         folder + "/sonnwerk-foto.jpg")
                  .status,
              0);
    return folder;
}

std::string words(int n) {
    std::string text;
    for (int i = 0; i < n; ++i)
        text += " and more words";
    return text;
}

}  // namespace

TEST(Brand, ASecondBrandIsDrawnCheckedAndPrinted) {
    const std::string brand = exampleBrand("sonnwerk"), game = brand + "/game";
    RunResult run = art("--brand " + brand + "/sonnwerk.toml " + game);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Drew 21 pictures into " + game + "/GFX\n");
    EXPECT_EQ(art("--check " + game).out, "Checked 21 pictures in " + game + "/GFX: all usable\n");
    SDL_Surface* menu = SDL_LoadBMP((game + "/GFX/Menus/Menu.bmp").c_str());
    EXPECT_EQ(pixelAt(menu, 5, 300), 0x06231Bu);  // the menu column in the brand's panel colour
    SDL_FreeSurface(menu);
    // The puzzle is the photo's middle square (x 150 to 749) scaled to 440 by 440.
    ASSERT_EQ(runCommand("convert " + brand + "/sonnwerk-foto.jpg " + brand + "/photo.bmp").status,
              0);
    SDL_Surface* photo = SDL_LoadBMP((brand + "/photo.bmp").c_str());
    SDL_Surface* puzzle = SDL_LoadBMP((game + "/GFX/Game/Puzzle.bmp").c_str());
    ASSERT_TRUE(photo && puzzle);
    for (const auto& [x, y] : {std::pair{30, 30}, {220, 220}, {400, 100}, {100, 410}}) {
        const uint32_t p = pixelAt(puzzle, x, y),
                       q = pixelAt(photo, 150 + x * 600 / 440, y * 600 / 440);
        for (int shift : {0, 8, 16})
            EXPECT_NEAR(static_cast<int>(p >> shift & 255), static_cast<int>(q >> shift & 255), 40)
                << x << "," << y;
    }
    SDL_FreeSurface(photo);
    SDL_FreeSurface(puzzle);
    // The certificate from the same brand, beside the print program: its language and paper.
    runCommand("mkdir " + game + "/Bin && ln -s " + brand + "/sonnwerk.toml " + game +
               "/Bin/brand.toml");
    writeFile(game + "/Bin/tmp", "Cheaters will be punished!\r\n02:05\r\n");
    run = runCommand("cd " + game + " && ASAN_OPTIONS=detect_leaks=0 " SOLRIND_PRINTIT);
    EXPECT_EQ(run.status, 0) << run.out;
    const std::string pdf = runCommand("ls " + game + "/Certificates/*.pdf").out;
    const std::string text = runCommand("pdftotext " + pdf.substr(0, pdf.size() - 1) + " -").out;
    for (const char* line :
         {"Urkunde", "Das Sonnwerk-Puzzle wurde gelöst in", "02:05", "2 Minuten und 5 Sekunden",
          "Zeige diese Urkunde am Stand von Sonnwerk"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in " << text;
    EXPECT_EQ(text.find("Solrind"), std::string::npos) << text;
    EXPECT_NE(runCommand("pdfinfo " + pdf).out.find("612 x 792 pts (letter)"), std::string::npos);
}

TEST(Brand, ABrandThatCannotBeDrawnSaysWhereAndDrawsNothing) {
    const std::string brand = exampleBrand("solrind");
    const std::string file = brand + "/solrind.toml", original = readFile(file);
    writeFile(brand + "/photo.jpg", "not a photo");
    const struct {
        const char* from;
        std::string to;
        std::string line;  // what the art maker says, as a pattern
    } bad[] = {
        {"logo = \"\"", "logo = \"missing.png\"",
         ": pictures.logo: cannot read .*/missing.png \\(.+\\)"},
        {"puzzle = \"\"", "puzzle = \"photo.jpg\"",
         ": pictures.puzzle: cannot read .*/photo.jpg \\(.+\\)"},
        {"\"Hover over a piece", "\"Hover over a piece" + words(90),
         ": rules.items\\[4\\]: [0-9]+ lines, at most [0-9] fit"},
        {"ink = ", "accnt = \"#000000\"\nink = ", ": colours.accnt: unknown entry"},
        {"accent = \"#FFD660\"", "accent = \"gold\"",
         ": colours.accent: \"gold\" is no colour: write \"#RRGGBB\""},
        {"call = \"Press S or click Play to start\"", "", ": welcome.call: missing"},
        {"title = \"The Solrind Puzzle\"", "title = \"The Solrind Puzzle", ":[0-9]+:[0-9]+: .+"},
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
}
