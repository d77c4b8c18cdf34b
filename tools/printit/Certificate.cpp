#include "Certificate.h"

#include "Drawings.h"
#include "PictureFile.h"
#include "gnFiles.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace {

constexpr Paper kA4 = {595.28, 841.89, "A4"};
constexpr Paper kLetter = {612, 792, "letter"};
constexpr double kDesignHeight = 841.89;

// The text with every "{name}" replaced by its value.
std::string filled(std::string text, const char* name, const std::string& value) {
    const std::string mark = std::string("{") + name + "}";
    for (size_t at; (at = text.find(mark)) != std::string::npos;)
        text.replace(at, mark.size(), value);
    return text;
}

// A text that may not fit the width on one line: cut into lines that do, as Pango breaks them
// (at spaces, between the characters of a script written without them, at soft hyphens,
// which show as a hyphen where they break).
std::vector<std::string> wrapped(const std::string& text, double width, double size) {
    PangoContext* context = pango_font_map_create_context(pango_cairo_font_map_get_default());
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);  // as on paper
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    PangoLayout* layout = pango_layout_new(context);
    setLine(layout, text, size, true);
    pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    std::vector<std::string> lines;
    for (GSList* l = pango_layout_get_lines_readonly(layout); l; l = l->next) {
        const PangoLayoutLine* line = static_cast<PangoLayoutLine*>(l->data);
        std::string part = text.substr(line->start_index, line->length);
        while (!part.empty() && part.back() == ' ')
            part.pop_back();
        if (part.size() >= 2 && part.compare(part.size() - 2, 2, "\xC2\xAD") == 0)
            part.replace(part.size() - 2, 2, "-");
        lines.push_back(part);
    }
    g_object_unref(layout);
    g_object_unref(context);
    return lines;
}

uint32_t scaled(uint32_t rgb, double factor) {
    const auto part = [&](int shift) {
        return static_cast<uint32_t>(std::lround((rgb >> shift & 255) * factor)) << shift;
    };
    return part(16) | part(8) | part(0);
}

const auto escaped = Brand::markupText;
const auto json = Brand::jsonText;

std::string hex(uint32_t rgb) {
    char text[8];
    snprintf(text, sizeof text, "#%06x", rgb & 0xFFFFFF);
    return text;
}

std::string base64(const std::string& bytes) {
    static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        uint32_t v = 0;
        for (size_t k = 0; k < 3; ++k)
            v = v << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0);
        for (size_t k = 0; k < 4; ++k)
            out += k <= n ? digits[v >> (18 - 6 * k) & 63] : '=';
    }
    return out;
}

// The logo file as a data address, or "" after a line saying why it cannot be read: only a
// picture goes into the page, whatever file the brand names.
std::string logoData(const Brand& brand) {
    const std::string& file = brand.picture("pictures.logo");
    PictureFile picture;
    std::string why;
    if (!picture.read(file, why)) {
        printf("Printit: %s\n", Brand::line(brand.where("pictures.logo") + ": cannot read " + file +
                                            " (" + why + ")")
                                    .c_str());
        return "";
    }
    const std::string type = strcmp(picture.type, "SVG") == 0 ? "svg+xml" : picture.type;
    std::string media = "image/" + type;
    std::transform(media.begin(), media.end(), media.begin(), ::tolower);
    return "data:" + media + ";base64," + base64(picture.bytes);
}

const char* fieldName(Field field) {
    switch (field) {
        case Field::kTime:
            return "time";
        case Field::kDuration:
            return "duration";
        case Field::kPrinted:
            return "printed";
        case Field::kCheck:
            return "check";
        case Field::kCode:
            return "code";
        default:
            return nullptr;
    }
}

// The script that fills in the round's fields from the page's address and prints on request.
constexpr const char* kPageScript = R"(
const words = JSON.parse(document.getElementById('words').textContent);
const given = new URLSearchParams(location.hash.slice(1));
const time = /^([0-5][0-9]):([0-5][0-9])$/.exec(given.get('time') || '');
const counted = (n, key) => n + ' ' + words[key][words.singular.includes(n) ? 0 : 1];
const months = words.months, days = words.days;
const start = name => Array.from(name).slice(0, 3).join('');
const two = n => String(n).padStart(2, '0');
const now = new Date();
const parts = {d: two(now.getDate()), e: String(now.getDate()).padStart(2, ' '),
               m: two(now.getMonth() + 1), Y: now.getFullYear(), y: two(now.getFullYear() % 100),
               H: two(now.getHours()), M: two(now.getMinutes()), S: two(now.getSeconds()),
               B: months[now.getMonth()], b: start(months[now.getMonth()]),
               A: days[now.getDay()], a: start(days[now.getDay()]), '%': '%'};
const fill = (id, text) => { document.getElementById(id).textContent = text; };
if (time) {
  fill('time', time[0]);
  fill('duration', words.duration.split('{minutes}').join(counted(+time[1], 'minutes'))
                                  .split('{seconds}').join(counted(+time[2], 'seconds')));
}
fill('printed', words.printed.replace(/%(.)/g, (all, c) => c in parts ? parts[c] : all));
fill('check', words.check);
// In an event, the round's code and its page's QR code, drawn by the event server the site
// is served beside (the site at /play/, the server's answers at /api/).
const code = /^[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}$/.exec(given.get('code') || '');
if (code && time) {
  fill('code', code[0]);
  const qr = document.getElementById('qr');
  qr.setAttribute('href', '../api/round.svg?' + new URLSearchParams({code: code[0], time: time[0]}));
  qr.setAttribute('visibility', 'visible');
}
document.body.dataset.filled = time ? 'yes' : 'no';
if (given.has('print'))
  document.fonts.ready.then(() => window.print());
)";

}  // namespace

uint32_t lighter(uint32_t rgb, double lighten) {
    const auto part = [&](int shift) {
        const double v = (rgb >> shift & 255) / 255.0;
        return static_cast<uint32_t>(std::lround((v + (1 - v) * lighten) * 255)) << shift;
    };
    return part(16) | part(8) | part(0);
}

std::string durationText(const Brand& brand, int minutes, int seconds) {
    const std::vector<int64_t>& singular = brand.numbers("certificate.singular");
    const auto counted = [&](int n, const char* key) {
        const bool one = std::find(singular.begin(), singular.end(), n) != singular.end();
        return std::to_string(n) + " " + brand.list(key)[one ? 0 : 1];
    };
    return filled(filled(brand.text("certificate.duration"), "minutes",
                         counted(minutes, "certificate.minutes")),
                  "seconds", counted(seconds, "certificate.seconds"));
}

std::string printedText(const Brand& brand, const tm& now) {
    const std::vector<std::string>& months = brand.list("certificate.months");
    const std::vector<std::string>& days = brand.list("certificate.days");
    const auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
    // The start of a name: its first three characters, however many bytes each takes.
    const auto start = [](const std::string& name) {
        size_t at = 0;
        for (int chars = 0; chars < 3 && at < name.size(); ++chars)
            do
                ++at;
            while (at < name.size() && (static_cast<unsigned char>(name[at]) & 0xC0) == 0x80);
        return name.substr(0, at);
    };
    const std::string& form = brand.text("certificate.printed");
    std::string text;
    for (size_t i = 0; i < form.size(); ++i) {
        if (form[i] != '%' || i + 1 == form.size()) {
            text += form[i];
            continue;
        }
        const char c = form[++i];
        const int month = now.tm_mon % 12, day = now.tm_wday % 7;
        text += c == 'd'   ? two(now.tm_mday)
                : c == 'e' ? (now.tm_mday < 10 ? " " : "") + std::to_string(now.tm_mday)
                : c == 'm' ? two(now.tm_mon + 1)
                : c == 'Y' ? std::to_string(now.tm_year + 1900)
                : c == 'y' ? two((now.tm_year + 1900) % 100)
                : c == 'H' ? two(now.tm_hour)
                : c == 'M' ? two(now.tm_min)
                : c == 'S' ? two(now.tm_sec)
                : c == 'B' ? months[static_cast<size_t>(month)]
                : c == 'b' ? start(months[static_cast<size_t>(month)])
                : c == 'A' ? days[static_cast<size_t>(day)]
                : c == 'a' ? start(days[static_cast<size_t>(day)])
                : c == '%' ? "%"
                           : std::string("%") + c;
    }
    return text;
}

std::string certificateFileName(const Brand& brand) {
    // Letters of any script (the brand file is UTF-8) and digits stay, lower case; anything
    // else (spaces, slashes, dots) becomes one dash.
    std::string name;
    for (const unsigned char c : brand.text("certificate.file")) {
        const bool kept = isalnum(c) || c == '_' || c >= 0x80;
        if (kept)
            name += static_cast<char>(c < 0x80 ? tolower(c) : c);
        else if (!name.empty() && name.back() != '-')
            name += '-';
    }
    while (!name.empty() && name.back() == '-')
        name.pop_back();
    return name.empty() ? "certificate" : name;
}

void setLine(PangoLayout* layout, const std::string& text, double size, bool bold) {
    PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans");
    pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
}

std::string sunDrawing(const Brand& brand) {
    return drawings::painted(drawings::kSun, brand.colour("colours.glow"),
                             brand.colour("colours.accent"), brand.colour("colours.background"));
}

Certificate designCertificate(const Brand& brand, const RoundValues& round) {
    Certificate c;
    c.paper = brand.text("certificate.paper") == "Letter" ? kLetter : kA4;
    const double w = c.paper.w, top = (c.paper.h - kDesignHeight) / 2;
    c.top = top;
    const uint32_t accent = brand.colour("colours.accent");
    const uint32_t dark = brand.colour("colours.background");
    c.paperRgb = lighter(accent, 0.93);
    c.frameRgb = accent;
    c.logoX = w / 2 - kLogoBoxW / 2, c.logoY = top + 80, c.logoW = kLogoBoxW, c.logoH = kLogoBoxH;
    c.sun = brand.picture("pictures.logo").empty();
    c.sunX = w / 2, c.sunY = top + 150, c.sunR = 46;
    const auto line = [&](double y, double size, bool bold, uint32_t rgb, const std::string& text,
                          Field field = Field::kNone) {
        c.lines.push_back({top + y, size, bold, rgb, text, field});
    };
    if (c.sun)
        line(262, 34, true, dark, "SOLRIND");
    line(340, 40, true, dark, brand.text("certificate.heading"));
    line(400, 18, false, lighter(dark, 0.25), brand.text("certificate.completed"));
    line(520, 110, true, scaled(brand.colour("colours.glow"), 0.75), round.time, Field::kTime);
    line(560, 16, false, lighter(dark, 0.4), round.duration, Field::kDuration);
    line(640, 14, false, lighter(dark, 0.4), round.printed, Field::kPrinted);
    double y = 700;
    for (const std::string& text : wrapped(brand.text("certificate.claim"), w - 140, 16)) {
        line(y, 16, true, dark, text);
        y += 22;
    }
    line(790, 10, false, lighter(dark, 0.6), round.check, Field::kCheck);
    // In an event, the round's page as a QR code in the top right corner, clear of the logo's
    // box and the sun's rays, with the round's code under it.
    c.qrX = w - 56 - kQrSide, c.qrY = top + 56;
    line(56 + kQrSide + 12, 9, true, dark, round.code, Field::kCode);
    c.lines.back().x = c.qrX + kQrSide / 2;
    return c;
}

bool writeCertificatePage(const Brand& brand, const std::string& path) {
    const Certificate c = designCertificate(brand, RoundValues{});
    const double w = c.paper.w, h = c.paper.h;
    std::ostringstream page;
    page << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n<title>"
         << escaped(brand.text("certificate.heading")) << "</title>\n<style>\n"
         << "@font-face { font-family: 'DejaVu Sans'; src: url(fonts/DejaVuSans.ttf); }\n"
         << "@font-face { font-family: 'DejaVu Sans'; font-weight: bold; "
            "src: url(fonts/DejaVuSans-Bold.ttf); }\n"
         << "@page { size: " << c.paper.name << "; margin: 0; }\n"
         << "html, body { margin: 0; background: #777; }\n"
         << "svg { display: block; margin: 0 auto; width: 100%; height: auto; max-height: 100vh; "
            "background: white; }\n"
         << "@media print { html, body { background: none; } svg { width: " << w
         << "pt; height: " << h << "pt; max-height: none; } }\n"
         << "</style></head><body>\n<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " << w
         << " " << h << "\" font-family=\"DejaVu Sans\" text-anchor=\"middle\">\n"
         << "<rect width=\"" << w << "\" height=\"" << h << "\" fill=\"" << hex(c.paperRgb)
         << "\"/>\n<rect x=\"30\" y=\"30\" width=\"" << w - 60 << "\" height=\"" << h - 60
         << "\" fill=\"none\" stroke=\"" << hex(c.frameRgb) << "\" stroke-width=\"6\"/>\n"
         << "<rect x=\"42\" y=\"42\" width=\"" << w - 84 << "\" height=\"" << h - 84
         << "\" fill=\"none\" stroke=\"" << hex(c.frameRgb) << "\" stroke-width=\"1.5\"/>\n";
    if (c.sun) {
        const double side = c.sunR * drawings::kSunBox;
        page << "<image x=\"" << c.sunX - side / 2 << "\" y=\"" << c.sunY - side / 2
             << "\" width=\"" << side << "\" height=\"" << side
             << "\" href=\"data:image/svg+xml;base64," << base64(sunDrawing(brand)) << "\"/>\n";
    } else if (!Brand::isDrawing(brand.picture("pictures.logo"))) {
        const std::string data = logoData(brand);
        if (!data.empty())
            page << "<image x=\"" << c.logoX << "\" y=\"" << c.logoY << "\" width=\"" << c.logoW
                 << "\" height=\"" << c.logoH << "\" preserveAspectRatio=\"xMidYMid meet\" href=\""
                 << data << "\"/>\n";
    }
    page << "<image id=\"qr\" x=\"" << c.qrX << "\" y=\"" << c.qrY << "\" width=\"" << kQrSide
         << "\" height=\"" << kQrSide << "\" visibility=\"hidden\"/>\n";
    for (const Line& line : c.lines) {
        page << "<text x=\"" << (line.x < 0 ? w / 2 : line.x) << "\" y=\"" << line.y
             << "\" font-size=\"" << line.size << "\"" << (line.bold ? " font-weight=\"bold\"" : "")
             << " fill=\"" << hex(line.rgb) << "\"";
        if (const char* id = fieldName(line.field))
            page << " id=\"" << id << "\"";
        page << ">" << escaped(line.text) << "</text>\n";
    }
    const auto list = [&](const std::string& key) {
        std::string items;
        for (const std::string& item : brand.list(key))
            items += (items.empty() ? "[" : ", ") + json(item);
        return items + "]";
    };
    std::string singular;
    for (const int64_t n : brand.numbers("certificate.singular"))
        singular += (singular.empty() ? "" : ", ") + std::to_string(n);
    page << "</svg>\n<script type=\"application/json\" id=\"words\">{\"duration\": "
         << json(brand.text("certificate.duration"))
         << ", \"printed\": " << json(brand.text("certificate.printed"))
         << ", \"minutes\": " << list("certificate.minutes")
         << ", \"seconds\": " << list("certificate.seconds")
         << ", \"months\": " << list("certificate.months")
         << ", \"days\": " << list("certificate.days") << ", \"singular\": [" << singular
         << "], \"check\": " << json(brand.text("certificate.check")) << "}</script>\n<script>"
         << kPageScript << "</script>\n</body></html>\n";

    const std::string text = page.str();
    if (!gnReplaceFile(path.c_str(), text.data(), text.size())) {
        printf("Printit: cannot write %s: %s\n", path.c_str(), strerror(errno));
        return false;
    }
    return true;
}
