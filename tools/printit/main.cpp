// The print program, installed as "Bin/Printit.exe" in the game folder and started by the game
// after a completed round. It reads the hand-over file "Bin/tmp" (a check line and the time as
// MM:SS, each ending in CR LF), makes a prize certificate with the time as a PDF under
// "Certificates/", and sends it to the default printer when one is configured.
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

namespace {

constexpr const char* kHandOver = "Bin/tmp";
constexpr const char* kFolder = "Certificates";
constexpr double kPageW = 595.28;  // A4 in points
constexpr double kPageH = 841.89;
constexpr double kPi = 3.14159265358979;

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

void centred(cairo_t* cr, const char* text, double y, double size, bool bold) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    cairo_move_to(cr, kPageW / 2 - extents.width / 2 - extents.x_bearing, y);
    cairo_show_text(cr, text);
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

bool drawCertificate(const HandOver& handOver, const std::string& path, const tm& now) {
    cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), kPageW, kPageH);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1.0, 0.98, 0.93);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.85, 0.65, 0.2);
    cairo_set_line_width(cr, 6);
    cairo_rectangle(cr, 30, 30, kPageW - 60, kPageH - 60);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 1.5);
    cairo_rectangle(cr, 42, 42, kPageW - 84, kPageH - 84);
    cairo_stroke(cr);

    sun(cr, kPageW / 2, 150, 46);
    cairo_set_source_rgb(cr, 0.09, 0.18, 0.36);
    centred(cr, "SOLRIND", 262, 34, true);
    centred(cr, "Certificate", 340, 40, true);
    cairo_set_source_rgb(cr, 0.2, 0.2, 0.25);
    centred(cr, "The Solrind Puzzle was completed in", 400, 18, false);
    cairo_set_source_rgb(cr, 0.75, 0.4, 0.05);
    centred(cr, handOver.time.c_str(), 520, 110, true);
    cairo_set_source_rgb(cr, 0.4, 0.4, 0.45);
    char words[64];
    snprintf(words, sizeof words, "%d minute%s and %d second%s", handOver.minutes,
             handOver.minutes == 1 ? "" : "s", handOver.seconds, handOver.seconds == 1 ? "" : "s");
    centred(cr, words, 560, 16, false);
    char date[64];
    strftime(date, sizeof date, "Printed %d %B %Y at %H:%M", &now);
    centred(cr, date, 640, 14, false);
    cairo_set_source_rgb(cr, 0.09, 0.18, 0.36);
    centred(cr, "Show this certificate at the Solrind stand", 700, 16, true);
    centred(cr, "to claim your prize.", 722, 16, true);
    cairo_set_source_rgb(cr, 0.55, 0.55, 0.6);
    centred(cr, handOver.check.c_str(), 790, 10, false);

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
    if (!drawCertificate(handOver, name, now))
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
