// The print program, installed as "Bin/Printit.exe" in the game folder and started by the game
// after a completed round. It reads the hand-over file "Bin/tmp" (a check line and the time as
// MM:SS, each ending in CR LF), makes a prize certificate with the time as a PDF under
// "Certificates/" in the sponsor's texts, colours and logo (the brand file "Bin/brand.toml"
// beside it; the built-in Solrind brand without one), and sends it to the default printer when
// one is configured.
#include <SDL.h>
#include <SDL_image.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <cups/cups.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "Brand.h"

namespace {

constexpr const char* kHandOver = "Bin/tmp";
constexpr const char* kFolder = "Certificates";
constexpr const char* kBrandFile = "Bin/brand.toml";
constexpr double kPi = 3.14159265358979;

struct Paper {
    double w, h;  // points
};
constexpr Paper kA4 = {595.28, 841.89};
constexpr Paper kLetter = {612, 792};

void colour(cairo_t* cr, uint32_t rgb, double lighten = 0) {
    const auto part = [&](int shift) {
        const double v = (rgb >> shift & 255) / 255.0;
        return v + (1 - v) * lighten;
    };
    cairo_set_source_rgb(cr, part(16), part(8), part(0));
}

// The text with every "{name}" replaced by its value.
std::string filled(std::string text, const char* name, const std::string& value) {
    const std::string mark = std::string("{") + name + "}";
    for (size_t at; (at = text.find(mark)) != std::string::npos;)
        text.replace(at, mark.size(), value);
    return text;
}

// The logo file as a cairo surface, or null.
cairo_surface_t* loadLogo(const std::string& file, std::string& why) {
    SDL_Surface* loaded = IMG_Load(file.c_str());
    SDL_Surface* argb =
        loaded ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0) : nullptr;
    SDL_FreeSurface(loaded);
    if (!argb) {
        why = IMG_GetError();
        return nullptr;
    }
    cairo_surface_t* logo = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, argb->w, argb->h);
    unsigned char* to = cairo_image_surface_get_data(logo);
    const int stride = cairo_image_surface_get_stride(logo);
    for (int y = 0; y < argb->h; ++y)
        for (int x = 0; x < argb->w; ++x) {
            const uint32_t p = static_cast<const uint32_t*>(argb->pixels)[y * argb->pitch / 4 + x];
            const uint32_t a = p >> 24;  // cairo wants the colours premultiplied
            const auto pre = [&](int shift) { return ((p >> shift & 255) * a + 127) / 255; };
            reinterpret_cast<uint32_t*>(to + y * stride)[x] =
                a << 24 | pre(16) << 16 | pre(8) << 8 | pre(0);
        }
    cairo_surface_mark_dirty(logo);
    SDL_FreeSurface(argb);
    return logo;
}

struct HandOver {
    std::string check;  // the first line
    int minutes = 0;
    int seconds = 0;
    std::string time;  // as MM:SS
};

// Strips the line break (CR LF or LF) from the end of a line.
std::string chomp(const char* line) {
    std::string s(line);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
        s.pop_back();
    return s;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Exactly two digits, a colon and two digits, from 00:00 to 59:59.
bool parseTime(const std::string& text, int& minutes, int& seconds) {
    if (text.size() != 5 || !isDigit(text[0]) || !isDigit(text[1]) || text[2] != ':' ||
        !isDigit(text[3]) || !isDigit(text[4]))
        return false;
    minutes = (text[0] - '0') * 10 + (text[1] - '0');
    seconds = (text[3] - '0') * 10 + (text[4] - '0');
    return minutes <= 59 && seconds <= 59;
}

bool readHandOver(HandOver& out) {
    FILE* in = fopen(kHandOver, "rb");
    if (!in) {
        printf("Printit: cannot read %s: %s\n", kHandOver, strerror(errno));
        return false;
    }
    char first[256] = "", second[256] = "";
    const bool two = fgets(first, sizeof first, in) && fgets(second, sizeof second, in);
    fclose(in);
    out.check = chomp(first);
    out.time = chomp(second);
    if (!two || !parseTime(out.time, out.minutes, out.seconds)) {
        printf("Printit: %s holds no time of the form MM:SS\n", kHandOver);
        return false;
    }
    return true;
}

void centred(cairo_t* cr, const std::string& text, double pageW, double y, double size, bool bold) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    cairo_move_to(cr, pageW / 2 - extents.width / 2 - extents.x_bearing, y);
    cairo_show_text(cr, text.c_str());
}

void sun(cairo_t* cr, double cx, double cy, double r) {
    cairo_set_source_rgb(cr, 1.0, 0.69, 0.18);
    for (int ray = 0; ray < 12; ++ray) {
        const double a = ray * kPi / 6, spread = kPi / 24;
        cairo_move_to(cr, cx + r * 1.15 * cos(a - spread), cy + r * 1.15 * sin(a - spread));
        cairo_line_to(cr, cx + r * 1.65 * cos(a), cy + r * 1.65 * sin(a));
        cairo_line_to(cr, cx + r * 1.15 * cos(a + spread), cy + r * 1.15 * sin(a + spread));
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    cairo_pattern_t* glow = cairo_pattern_create_radial(cx - r / 3, cy - r / 3, r / 8, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(glow, 0, 1.0, 0.92, 0.6);
    cairo_pattern_add_color_stop_rgb(glow, 1, 1.0, 0.69, 0.18);
    cairo_set_source(cr, glow);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
}

// A text that may not fit the page's width on one line: cut at spaces into lines that do.
std::vector<std::string> wrapped(cairo_t* cr, const std::string& text, double width) {
    std::vector<std::string> lines(1);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string word = text.substr(start, end - start);
        const std::string candidate = lines.back().empty() ? word : lines.back() + " " + word;
        cairo_text_extents_t extents;
        cairo_text_extents(cr, candidate.c_str(), &extents);
        if (extents.width > width && !lines.back().empty())
            lines.push_back(word);
        else
            lines.back() = candidate;
        start = end + 1;
    }
    return lines;
}

// The certificate; the logo is the brand's, or null: the Solrind sun for the built-in logo,
// nothing for one that could not be read.
bool drawCertificate(const HandOver& handOver, const std::string& path, const tm& now,
                     const Brand& brand, cairo_surface_t* logo) {
    const Paper paper = brand.text("certificate.paper") == "Letter" ? kLetter : kA4;
    const double w = paper.w, h = paper.h, top = (h - 841.89) / 2;  // a Letter page is lower
    cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), w, h);
    cairo_t* cr = cairo_create(surface);
    const uint32_t accent = brand.colour("colours.accent");
    const uint32_t dark = brand.colour("colours.background");
    colour(cr, accent, 0.93);
    cairo_paint(cr);
    colour(cr, accent);
    cairo_set_line_width(cr, 6);
    cairo_rectangle(cr, 30, 30, w - 60, h - 60);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 1.5);
    cairo_rectangle(cr, 42, 42, w - 84, h - 84);
    cairo_stroke(cr);
    if (logo) {  // as large as fits 300 by 190 points, keeping its shape
        const double iw = cairo_image_surface_get_width(logo);
        const double ih = cairo_image_surface_get_height(logo);
        const double scale = std::min(300 / iw, 190 / ih);
        cairo_save(cr);
        cairo_translate(cr, w / 2 - iw * scale / 2, top + 80 + (190 - ih * scale) / 2);
        cairo_scale(cr, scale, scale);
        cairo_set_source_surface(cr, logo, 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
    } else if (brand.picture("pictures.logo").empty()) {
        sun(cr, w / 2, top + 150, 46);
        colour(cr, dark);
        centred(cr, "SOLRIND", w, top + 262, 34, true);
    }
    colour(cr, dark);
    centred(cr, brand.text("certificate.heading"), w, top + 340, 40, true);
    colour(cr, dark, 0.25);
    centred(cr, brand.text("certificate.completed"), w, top + 400, 18, false);
    const uint32_t glow = brand.colour("colours.glow");  // darkened a quarter on the paper
    cairo_set_source_rgb(cr, (glow >> 16) * 0.75 / 255, (glow >> 8 & 255) * 0.75 / 255,
                         (glow & 255) * 0.75 / 255);
    centred(cr, handOver.time, w, top + 520, 110, true);
    colour(cr, dark, 0.4);
    const auto counted = [&](int n, const char* key) {
        return std::to_string(n) + " " + brand.list(key)[n == 1 ? 0 : 1];
    };
    const std::string duration =
        filled(filled(brand.text("certificate.duration"), "minutes",
                      counted(handOver.minutes, "certificate.minutes")),
               "seconds", counted(handOver.seconds, "certificate.seconds"));
    centred(cr, duration, w, top + 560, 16, false);
    char date[256];
    if (strftime(date, sizeof date, brand.text("certificate.printed").c_str(), &now) == 0)
        date[0] = '\0';
    centred(cr, date, w, top + 640, 14, false);
    colour(cr, dark);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 16);
    double y = top + 700;
    for (const std::string& line : wrapped(cr, brand.text("certificate.claim"), w - 140)) {
        centred(cr, line, w, y, 16, true);
        y += 22;
    }
    colour(cr, dark, 0.6);
    centred(cr, handOver.check, w, top + 790, 10, false);

    cairo_show_page(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    if (!ok)
        printf("Printit: cannot write %s: %s\n", path.c_str(),
               cairo_status_to_string(cairo_surface_status(surface)));
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace

int main() {
    HandOver handOver;
    if (!readHandOver(handOver))
        return 1;
    if (mkdir(kFolder, 0755) != 0 && errno != EEXIST) {
        printf("Printit: cannot make the folder %s: %s\n", kFolder, strerror(errno));
        return 1;
    }
    const time_t seconds = time(nullptr);
    tm now;
    localtime_r(&seconds, &now);
    char name[128];
    snprintf(name, sizeof name, "%s/solrind-%02d-%02d-%04d%02d%02d-%02d%02d%02d-%d.pdf", kFolder,
             handOver.minutes, handOver.seconds, now.tm_year + 1900, now.tm_mon + 1, now.tm_mday,
             now.tm_hour, now.tm_min, now.tm_sec, static_cast<int>(getpid()));
    // The sponsor's brand beside the program (a brand that cannot be read prints the built-in
    // one's certificate, after saying why: the player still gets one).
    Brand brand;
    std::vector<std::string> problems;
    const bool own = access(kBrandFile, F_OK) == 0;
    if (!brand.read(own ? kBrandFile : "", problems)) {
        for (const std::string& problem : problems)
            printf("Printit: %s\n", problem.c_str());
        problems.clear();
        brand.read("", problems);
    }
    cairo_surface_t* logo = nullptr;
    const std::string& logoFile = brand.picture("pictures.logo");
    if (!logoFile.empty() && !Brand::isDrawing(logoFile)) {
        std::string why;
        if (!(logo = loadLogo(logoFile, why)))
            printf("Printit: %s: cannot read %s (%s)\n", brand.where("pictures.logo").c_str(),
                   logoFile.c_str(), why.c_str());
    }
    const bool drawn = drawCertificate(handOver, name, now, brand, logo);
    if (logo)
        cairo_surface_destroy(logo);
    if (!drawn)
        return 1;
    char where[PATH_MAX];
    const char* shown = realpath(name, where) ? where : name;

    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    const cups_dest_t* printer = cupsGetDest(nullptr, nullptr, count, dests);
    if (!printer) {
        printf("Printit: no printer is configured; the certificate for %s is kept at %s\n",
               handOver.time.c_str(), shown);
    } else {
        const int job = cupsPrintFile(printer->name, name, "Solrind certificate", 0, nullptr);
        if (job > 0)
            printf(
                "Printit: the certificate for %s went to printer %s (job %d); a copy is kept at "
                "%s\n",
                handOver.time.c_str(), printer->name, job, shown);
        else
            printf("Printit: printer %s refused the certificate (%s); it is kept at %s\n",
                   printer->name, cupsLastErrorString(), shown);
    }
    cupsFreeDests(count, dests);
    fflush(stdout);  // the report must reach the game's output whatever happens at exit
    return 0;
}
