// The prize certificate's design, shared by the printed PDF and the browser's certificate
// page: the paper, its frame, the logo's box and the centred lines of text, in points from the
// page's top left.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "Brand.h"

typedef struct _PangoLayout PangoLayout;

constexpr double kLogoBoxW = 300, kLogoBoxH = 190;  // points: the logo's box, its shape kept
constexpr double kQrSide = 72;  // points: the QR code of the round's page, in an event

struct Paper {
    double w, h;       // points
    const char* name;  // as CSS names it
};

// What a line shows that depends on the round: filled in by whoever shows the certificate.
enum class Field { kNone, kTime, kDuration, kPrinted, kCheck, kCode };

struct Line {
    double y, size;  // the baseline and the font size, in points
    bool bold;
    uint32_t rgb;
    std::string text;  // a field's text, or "" when it is filled in later
    Field field;
    double x = -1;  // the text's centre; -1: the page's
};

struct Certificate {
    Paper paper;
    double top;  // the design is 841.89 points high; a Letter page shows it lower
    uint32_t paperRgb, frameRgb;
    double logoX, logoY, logoW, logoH;  // the box the logo fits into, its shape kept
    bool sun;                           // the built-in logo: the Solrind sun, drawn
    double sunX, sunY, sunR;
    double qrX, qrY;  // the QR code's box, kQrSide a side, with the round's code under it
    std::vector<Line> lines;
};

// The round's values for the printed certificate; empty ones stay fields to fill in.
struct RoundValues {
    std::string time, duration, printed, check;
    std::string code;  // the round's short code, in an event
};

Certificate designCertificate(const Brand& brand, const RoundValues& round);
// A line of the certificate as Pango sets it, in points: DejaVu Sans (with whatever installed
// font has the characters it lacks), shaped and ordered as its script is written.
void setLine(PangoLayout* layout, const std::string& text, double size, bool bold);
// The Solrind sun in the brand's colours, as SVG.
std::string sunDrawing(const Brand& brand);
// The colour mixed with white by `lighten` (0: as it is, 1: white).
uint32_t lighter(uint32_t rgb, double lighten);
// The duration in the brand's words: "2 minutes and 5 seconds", a count said with the first
// word when the brand's singular list holds it.
std::string durationText(const Brand& brand, int minutes, int seconds);
// When it was printed, in the brand's form (strftime's %d %e %m %Y %y %H %M %S %B %b %A %a),
// the months and days in the brand's words.
std::string printedText(const Brand& brand, const tm& now);
// The start of a certificate's file name: the brand's, in letters, digits, - and _.
std::string certificateFileName(const Brand& brand);

// Writes the browser's certificate page for the brand: the same design as the PDF, in SVG,
// with the round's fields filled in by the page's script from its address
// ("certificate.html#time=02:05&check=..."). False after a line saying why.
bool writeCertificatePage(const Brand& brand, const std::string& path);
