// What makes a certificate checkable: the address of its round's page on the event's site,
// and that address as a QR code a phone reads.
#pragma once

#include <string>
#include <vector>

// The page that checks a round: "<page>/round.html?code=3F2A91B0C4D2&time=01:22", from the
// site's address (its trailing slash optional), the round's id (or its code's 12 digits) and
// the time the certificate shows (none: ""). "" when the id is no round's.
std::string roundAddress(const std::string& page, const std::string& id, const std::string& time);

// A QR code's modules, dark or light, row by row, at the error correction that survives a
// crease (level M); empty when the text does not fit one.
struct QrCode {
    int size = 0;  // modules a side, without the quiet zone
    std::vector<bool> dark;
    bool at(int x, int y) const { return dark[static_cast<size_t>(y) * size + x]; }
};
QrCode encodeQr(const std::string& text);

// The code as an SVG picture: one path of its dark modules in the colour, four modules of
// quiet zone around them on white, a module a unit (shown 6 pixels wide unless sized).
std::string qrSvg(const QrCode& code, const std::string& colour);
