#include "RoundCheck.h"

#include <qrencode.h>

#include "RoundFile.h"

namespace {

constexpr int kQuiet = 4;        // modules of white around the code, as readers need
constexpr int kShownPixels = 6;  // a module's pixels where nothing else sizes the picture

}  // namespace

std::string roundAddress(const std::string& page, const std::string& id, const std::string& time) {
    const std::string key = roundfile::codeKey(roundfile::code(id));  // 12 digits, small
    if (key.empty())
        return "";
    std::string base = page;
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    std::string query = "code=" + key;
    if (!time.empty())
        query += "&time=" + time.substr(0, 2) + "%3A" + time.substr(3);
    return base + "/round.html?" + query;
}

QrCode encodeQr(const std::string& text) {
    QrCode code;
    QRcode* made = QRcode_encodeString8bit(text.c_str(), 0, QR_ECLEVEL_M);
    if (!made)
        return code;
    code.size = made->width;
    code.dark.resize(static_cast<size_t>(made->width) * made->width);
    for (size_t i = 0; i < code.dark.size(); ++i)
        code.dark[i] = made->data[i] & 1;  // the lowest bit: dark
    QRcode_free(made);
    return code;
}

std::string qrSvg(const QrCode& code, const std::string& colour) {
    const int side = code.size + 2 * kQuiet;
    const std::string shown = std::to_string(side * kShownPixels);
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + shown +
                      "\" height=\"" + shown + "\" viewBox=\"0 0 " + std::to_string(side) + " " +
                      std::to_string(side) + "\" shape-rendering=\"crispEdges\"><rect width=\"" +
                      std::to_string(side) + "\" height=\"" + std::to_string(side) +
                      "\" fill=\"#fff\"/><path fill=\"" + colour + "\" d=\"";
    for (int y = 0; y < code.size; ++y)
        for (int x = 0; x < code.size;) {  // each run of dark modules in a row, one rectangle
            int run = 0;
            while (x + run < code.size && code.at(x + run, y))
                ++run;
            if (run > 0)
                svg += "M" + std::to_string(x + kQuiet) + " " + std::to_string(y + kQuiet) + "h" +
                       std::to_string(run) + "v1h-" + std::to_string(run) + "z";
            x += run > 0 ? run : 1;
        }
    return svg + "\"/></svg>\n";
}
