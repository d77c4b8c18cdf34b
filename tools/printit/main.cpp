// The print program, installed as "Bin/Printit.exe" in the game folder and started by the game
// after a completed round. It reads the hand-over file "Bin/tmp" (a check line and the time as
// MM:SS, each ending in CR LF), makes a prize certificate with the time as a PDF under
// "Certificates/" in the sponsor's texts, colours and logo (the brand file "Bin/brand.toml"
// beside it; the built-in Solrind brand without one), and sends it to the default printer when
// one is configured. In an event (SOLRIND_EVENT_PAGE, the event page's address as phones reach
// it), the certificate carries the round's code and its page's address as a QR code: the round
// is the one the game names in "Bin/round".
#include <cairo-pdf.h>
#include <cairo.h>
#include <cups/cups.h>
#include <limits.h>
#include <pango/pangocairo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "Brand.h"
#include "Certificate.h"
#include "Drawings.h"
#include "RoundCheck.h"
#include "RoundFile.h"
#include "gnFiles.h"

namespace {

constexpr const char* kHandOver = "Bin/tmp";
constexpr const char* kRoundHandOver = "Bin/round";  // the printed round's id
constexpr const char* kEventPage = "SOLRIND_EVENT_PAGE";
constexpr size_t kHandOverBytesMax = 4096;  // two short lines
constexpr const char* kFolder = "Certificates";
constexpr const char* kBrandFile = "Bin/brand.toml";

void colour(cairo_t* cr, uint32_t rgb) {
    cairo_set_source_rgb(cr, (rgb >> 16 & 255) / 255.0, (rgb >> 8 & 255) / 255.0,
                         (rgb & 255) / 255.0);
}

struct HandOver {
    std::string check;  // the first line
    int minutes = 0;
    int seconds = 0;
    std::string time;     // as MM:SS
    std::string code;     // in an event, the round's code
    std::string address;  // and its page; "" outside one
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
    std::string bytes, why;
    if (!gnReadFile(kHandOver, kHandOverBytesMax, bytes, why)) {
        printf("Printit: cannot read %s: %s\n", kHandOver, why.c_str());
        return false;
    }
    const size_t end = bytes.find('\n');
    const bool two = end != std::string::npos && end + 1 < bytes.size();
    out.check = chomp(bytes.substr(0, end).c_str());
    out.time = two ? chomp(bytes.substr(end + 1, bytes.find('\n', end + 1) - end - 1).c_str()) : "";
    if (!two || !parseTime(out.time, out.minutes, out.seconds)) {
        printf("Printit: %s holds no time of the form MM:SS\n", kHandOver);
        return false;
    }
    return true;
}

// In an event, the printed round's code and page: from its id in "Bin/round" and the time;
// nothing outside one, and a line when the round cannot be named.
void nameRound(HandOver& handOver) {
    const char* page = getenv(kEventPage);
    if (!page || !*page)
        return;
    std::string id, why;
    if (!gnReadFile(kRoundHandOver, kHandOverBytesMax, id, why)) {
        printf("Printit: cannot read %s: %s; the certificate names no round\n", kRoundHandOver,
               why.c_str());
        return;
    }
    id = chomp(id.c_str());
    handOver.address = id.size() == 32 ? roundAddress(page, id, handOver.time) : "";
    if (handOver.address.empty())
        printf("Printit: %s holds no round's id; the certificate names no round\n", kRoundHandOver);
    else
        handOver.code = roundfile::code(id);
}

// A line centred on x with its baseline at y.
void centred(cairo_t* cr, const std::string& text, double x, double y, double size, bool bold) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    setLine(layout, text, size, bold);
    PangoRectangle box;
    pango_layout_get_extents(layout, nullptr, &box);
    cairo_move_to(cr, x - box.width / 2.0 / PANGO_SCALE,
                  y - static_cast<double>(pango_layout_get_baseline(layout)) / PANGO_SCALE);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
}

// The certificate; the logo is the brand's, or null: the Solrind sun for the built-in logo,
// nothing for one that could not be read.
bool drawCertificate(const HandOver& handOver, const std::string& path, const tm& now,
                     const Brand& brand, const Picture* logo) {
    // The hand-over's first line is the fixed check line; the certificate says it in the
    // brand's words.
    const QrCode qr = encodeQr(handOver.address);
    const RoundValues round = {
        handOver.time, durationText(brand, handOver.minutes, handOver.seconds),
        printedText(brand, now), brand.text("certificate.check"), qr.size > 0 ? handOver.code : ""};
    // Made in memory, then written whole (a reader never sees half a certificate).
    std::string pdf;
    cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(
        [](void* into, const unsigned char* data, unsigned int length) {
            static_cast<std::string*>(into)->append(reinterpret_cast<const char*>(data), length);
            return CAIRO_STATUS_SUCCESS;
        },
        &pdf, 595.28, 841.89);
    cairo_t* cr = cairo_create(surface);
    const Certificate c = designCertificate(brand, round);
    const double w = c.paper.w, h = c.paper.h;
    cairo_pdf_surface_set_size(surface, w, h);
    colour(cr, c.paperRgb);
    cairo_paint(cr);
    colour(cr, c.frameRgb);
    cairo_set_line_width(cr, 6);
    cairo_rectangle(cr, 30, 30, w - 60, h - 60);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 1.5);
    cairo_rectangle(cr, 42, 42, w - 84, h - 84);
    cairo_stroke(cr);
    if (logo) {  // as large as fits its box, keeping its shape
        logo->draw(cr, c.logoX, c.logoY, c.logoW, c.logoH);
    } else if (c.sun) {
        const double side = c.sunR * drawings::kSunBox;
        Picture(sunDrawing(brand)).draw(cr, c.sunX - side / 2, c.sunY - side / 2, side, side);
    }
    if (qr.size > 0) {  // the modules as vectors, the quiet zone white
        const double module = kQrSide / (qr.size + 8);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_rectangle(cr, c.qrX, c.qrY, kQrSide, kQrSide);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);  // no seams between modules
        for (int y = 0; y < qr.size; ++y)
            for (int x = 0; x < qr.size; ++x)
                if (qr.at(x, y))
                    cairo_rectangle(cr, c.qrX + (x + 4) * module, c.qrY + (y + 4) * module, module,
                                    module);
        cairo_fill(cr);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    }
    for (const Line& line : c.lines) {
        colour(cr, line.rgb);
        centred(cr, line.text, line.x < 0 ? w / 2 : line.x, line.y, line.size, line.bold);
    }
    cairo_show_page(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const cairo_status_t status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        printf("Printit: cannot make %s: %s\n", path.c_str(), cairo_status_to_string(status));
        return false;
    }
    if (!gnReplaceFile(path.c_str(), pdf.data(), pdf.size())) {
        printf("Printit: cannot write %s: %s\n", path.c_str(), strerror(errno));
        return false;
    }
    return true;
}

// solrind_printit --page <page.html> [<brand file>]: writes the browser's certificate page
// instead (the site of the web build has no print program).
int writePage(const char* path, const char* brandFile) {
    Brand brand;
    std::vector<std::string> problems;
    if (!brand.read(brandFile, problems)) {
        for (const std::string& problem : problems)
            printf("Printit: %s\n", Brand::line(problem).c_str());
        return 1;
    }
    return writeCertificatePage(brand, path) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && argc <= 4 && strcmp(argv[1], "--page") == 0)
        return writePage(argv[2], argc == 4 ? argv[3] : "");
    if (argc != 1) {
        printf(
            "Usage: solrind_printit (in the game folder), or solrind_printit --page "
            "<page.html> [<brand file>]\n");
        return 2;
    }
    HandOver handOver;
    if (!readHandOver(handOver))
        return 1;
    nameRound(handOver);
    if (mkdir(kFolder, 0755) != 0 && errno != EEXIST) {
        printf("Printit: cannot make the folder %s: %s\n", kFolder, strerror(errno));
        return 1;
    }
    // The sponsor's brand beside the program (a brand that cannot be read prints the built-in
    // one's certificate, after saying why: the player still gets one).
    Brand brand;
    std::vector<std::string> problems;
    const bool own = access(kBrandFile, F_OK) == 0;
    if (!brand.read(own ? kBrandFile : "", problems)) {
        for (const std::string& problem : problems)
            printf("Printit: %s\n", Brand::line(problem).c_str());
        problems.clear();
        brand.read("", problems);
    }
    const time_t seconds = time(nullptr);
    tm now;
    localtime_r(&seconds, &now);
    char name[256];
    snprintf(name, sizeof name, "%s/%.64s-%02d-%02d-%04d%02d%02d-%02d%02d%02d-%d.pdf", kFolder,
             certificateFileName(brand).c_str(), handOver.minutes, handOver.seconds,
             now.tm_year + 1900, now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec,
             static_cast<int>(getpid()));
    std::unique_ptr<Picture> logo;
    const std::string& logoFile = brand.picture("pictures.logo");
    if (!logoFile.empty() && !Brand::isDrawing(logoFile)) {
        std::string why;
        if (!(logo = Picture::load(logoFile, why)))
            printf("Printit: %s\n", Brand::line(brand.where("pictures.logo") + ": cannot read " +
                                                logoFile + " (" + why + ")")
                                        .c_str());
    }
    const bool drawn = drawCertificate(handOver, name, now, brand, logo.get());
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
