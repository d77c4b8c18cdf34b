#include "Canvas.h"

#include "PictureFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include <SDL_image.h>

namespace {

int clampByte(double v) {
    return static_cast<int>(std::max(0.0, std::min(255.0, std::round(v))));
}

const char* faceFile(Type::Face face) {
    switch (face) {
        case Type::Face::Sans:
            return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
        case Type::Face::SansBold:
            return "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
        case Type::Face::Serif:
            return "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
        case Type::Face::SerifBold:
            return "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";
        case Type::Face::Mono:
            return "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
        case Type::Face::MonoBold:
            return "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";
    }
    return "";
}

// The rendered text as 8-bit coverage, one byte per pixel of an ARGB surface's alpha.
SDL_Surface* render(TTF_Font* font, const std::string& text) {
    const SDL_Color white = {255, 255, 255, 255};
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, text.c_str(), white);
    if (!rendered)
        return nullptr;
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    return argb;
}

double coverage(SDL_Surface* s, int x, int y) {
    const Uint32 pixel = static_cast<const Uint32*>(s->pixels)[y * (s->pitch / 4) + x];
    return (pixel >> 24) / 255.0;
}

}  // namespace

Colour mix(Colour a, Colour b, double t) {
    return {clampByte(a.r + (b.r - a.r) * t), clampByte(a.g + (b.g - a.g) * t),
            clampByte(a.b + (b.b - a.b) * t)};
}

Colour times(Colour c, double factor) {
    return {clampByte(c.r * factor), clampByte(c.g * factor), clampByte(c.b * factor)};
}

Colour shade(Colour c, double factor) {
    if (factor <= 1)
        return {clampByte(c.r * factor), clampByte(c.g * factor), clampByte(c.b * factor)};
    return mix(c, {255, 255, 255}, std::min(1.0, factor - 1));
}

Canvas::Canvas(int width, int height, Colour fill)
    : surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, 24, SDL_PIXELFORMAT_RGB24)) {
    if (!surface) {
        fprintf(stderr, "Out of memory for a %dx%d picture\n", width, height);
        exit(1);
    }
    this->fill(0, 0, width, height, fill);
}

Canvas* Canvas::load(const std::string& file, std::string& why) {
    PictureFile picture;
    if (!picture.read(file, why))
        return nullptr;
    SDL_Surface* loaded =
        picture.decode(PictureFile::kDrawnSideMax, PictureFile::kDrawnSideMax, why);
    SDL_Surface* rgba =
        loaded ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0) : nullptr;
    SDL_FreeSurface(loaded);
    if (!rgba) {
        if (why.empty())
            why = SDL_GetError();
        return nullptr;
    }
    Canvas* canvas = new Canvas(rgba->w, rgba->h, {0, 0, 0});
    canvas->alpha.resize(static_cast<size_t>(rgba->w) * rgba->h);
    for (int y = 0; y < rgba->h; ++y)
        for (int x = 0; x < rgba->w; ++x) {
            const Uint8* p = static_cast<const Uint8*>(rgba->pixels) + y * rgba->pitch + 4 * x;
            canvas->set(x, y, {p[0], p[1], p[2]});
            canvas->alpha[static_cast<size_t>(y) * rgba->w + x] = p[3];
        }
    SDL_FreeSurface(rgba);
    return canvas;
}

double Canvas::alphaAt(int x, int y) const {
    if (alpha.empty() || x < 0 || y < 0 || x >= width() || y >= height())
        return 1;
    return alpha[static_cast<size_t>(y) * width() + x] / 255.0;
}

Canvas::~Canvas() {
    SDL_FreeSurface(surface);
}

Colour Canvas::get(int x, int y) const {
    if (x < 0 || y < 0 || x >= surface->w || y >= surface->h)
        return {0, 0, 0};
    const Uint8* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * 3;
    return {p[0], p[1], p[2]};
}

void Canvas::set(int x, int y, Colour c) {
    if (x < 0 || y < 0 || x >= surface->w || y >= surface->h)
        return;
    Uint8* p = static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * 3;
    p[0] = static_cast<Uint8>(c.r);
    p[1] = static_cast<Uint8>(c.g);
    p[2] = static_cast<Uint8>(c.b);
}

void Canvas::blend(int x, int y, Colour c, double alpha) {
    if (alpha <= 0)
        return;
    set(x, y, alpha >= 1 ? c : mix(get(x, y), c, alpha));
}

void Canvas::fill(int x, int y, int w, int h, Colour c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            set(i, j, c);
}

void Canvas::verticalGradient(int x, int y, int w, int h, Colour top, Colour bottom) {
    for (int j = 0; j < h; ++j)
        fill(x, y + j, w, 1, mix(top, bottom, h > 1 ? j / (h - 1.0) : 0));
}

void Canvas::horizontalGradient(int x, int y, int w, int h, Colour left, Colour right) {
    for (int i = 0; i < w; ++i)
        fill(x + i, y, 1, h, mix(left, right, w > 1 ? i / (w - 1.0) : 0));
}

void Canvas::disc(double cx, double cy, double r, Colour c, double alpha) {
    ellipse(cx, cy, r, r, c, alpha);
}

void Canvas::ellipse(double cx, double cy, double rx, double ry, Colour c, double alpha) {
    for (int y = static_cast<int>(cy - ry - 1); y <= cy + ry + 1; ++y)
        for (int x = static_cast<int>(cx - rx - 1); x <= cx + rx + 1; ++x) {
            const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            const double d = std::sqrt(dx * dx + dy * dy);
            const double edge = std::min(rx, ry) * (1 - d);  // pixels inside the rim
            blend(x, y, c, alpha * std::max(0.0, std::min(1.0, edge + 0.5)));
        }
}

void Canvas::polygon(const std::vector<Point>& points, Colour c, double alpha) {
    double minY = 1e9, maxY = -1e9, minX = 1e9, maxX = -1e9;
    for (const Point& p : points) {
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
    }
    const int x0 = std::max(0, static_cast<int>(minX)),
              x1 = std::min(width() - 1, static_cast<int>(maxX) + 1);
    std::vector<double> cover(static_cast<size_t>(std::max(0, x1 - x0 + 1)));
    for (int y = std::max(0, static_cast<int>(minY));
         y <= std::min(height() - 1, static_cast<int>(maxY) + 1); ++y) {
        std::fill(cover.begin(), cover.end(), 0.0);
        for (double sub : {0.125, 0.375, 0.625, 0.875}) {
            const double sy = y + sub;
            std::vector<double> crossings;
            for (size_t i = 0; i < points.size(); ++i) {
                const Point& a = points[i];
                const Point& b = points[(i + 1) % points.size()];
                if ((a.y <= sy && b.y > sy) || (b.y <= sy && a.y > sy))
                    crossings.push_back(a.x + (sy - a.y) / (b.y - a.y) * (b.x - a.x));
            }
            std::sort(crossings.begin(), crossings.end());
            for (size_t i = 0; i + 1 < crossings.size(); i += 2)
                for (int x = x0; x <= x1; ++x) {
                    const double left = std::max(crossings[i], static_cast<double>(x));
                    const double right = std::min(crossings[i + 1], x + 1.0);
                    if (right > left)
                        cover[static_cast<size_t>(x - x0)] += (right - left) / 4;
                }
        }
        for (int x = x0; x <= x1; ++x)
            blend(x, y, c, alpha * std::min(1.0, cover[static_cast<size_t>(x - x0)]));
    }
}

void Canvas::line(Point a, Point b, double width, Colour c, double alpha) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0)
        return;
    const double nx = -dy / length * width / 2, ny = dx / length * width / 2;
    polygon(
        {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}}, c,
        alpha);
}

void Canvas::roundedRect(int x, int y, int w, int h, double radius, Colour c, double alpha) {
    roundedGradient(x, y, w, h, radius, c, c, alpha);
}

void Canvas::roundedGradient(int x, int y, int w, int h, double radius, Colour top, Colour bottom,
                             double alpha) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            const double px = i + 0.5, py = j + 0.5;
            const double cx = std::max(x + radius, std::min(x + w - radius, px));
            const double cy = std::max(y + radius, std::min(y + h - radius, py));
            const double d = std::sqrt((px - cx) * (px - cx) + (py - cy) * (py - cy));
            blend(i, j, mix(top, bottom, h > 1 ? (j - y) / (h - 1.0) : 0),
                  alpha * std::max(0.0, std::min(1.0, radius - d + 0.5)));
        }
}

void Canvas::frame(int x, int y, int w, int h, int thickness, Colour c) {
    fill(x, y, w, thickness, c);
    fill(x, y + h - thickness, w, thickness, c);
    fill(x, y, thickness, h, c);
    fill(x + w - thickness, y, thickness, h, c);
}

void Canvas::glow(double cx, double cy, double r, Colour c, double strength) {
    for (int y = static_cast<int>(cy - r); y <= cy + r; ++y)
        for (int x = static_cast<int>(cx - r); x <= cx + r; ++x) {
            const double d =
                std::sqrt((x + 0.5 - cx) * (x + 0.5 - cx) + (y + 0.5 - cy) * (y + 0.5 - cy)) / r;
            if (d < 1)
                blend(x, y, c, strength * (1 - d) * (1 - d));
        }
}

void Canvas::copy(const Canvas& from, int sx, int sy, int w, int h, int dx, int dy) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            set(dx + i, dy + j, from.get(sx + i, sy + j));
}

void Canvas::tint(int x, int y, int w, int h, Colour tint, double amount, double factor) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            set(i, j, mix(shade(get(i, j), factor), tint, amount));
}

namespace {

// An SDL stream that writes into a string, growing it (SDL2 has none that grows).
struct Written {
    std::string* bytes;
    size_t at;
};

SDL_RWops* stringWriter(std::string& into) {
    SDL_RWops* stream = SDL_AllocRW();
    stream->hidden.unknown.data1 = new Written{&into, 0};
    stream->size = [](SDL_RWops* s) -> Sint64 {
        return static_cast<Sint64>(static_cast<Written*>(s->hidden.unknown.data1)->bytes->size());
    };
    stream->seek = [](SDL_RWops* s, Sint64 offset, int whence) -> Sint64 {
        Written* w = static_cast<Written*>(s->hidden.unknown.data1);
        const Sint64 base = whence == RW_SEEK_SET   ? 0
                            : whence == RW_SEEK_CUR ? static_cast<Sint64>(w->at)
                                                    : static_cast<Sint64>(w->bytes->size());
        if (base + offset < 0)
            return SDL_SetError("Seek before the start");
        w->at = static_cast<size_t>(base + offset);
        return static_cast<Sint64>(w->at);
    };
    stream->read = [](SDL_RWops*, void*, size_t, size_t) -> size_t { return 0; };
    stream->write = [](SDL_RWops* s, const void* data, size_t size, size_t count) -> size_t {
        Written* w = static_cast<Written*>(s->hidden.unknown.data1);
        const size_t n = size * count;
        if (w->bytes->size() < w->at + n)
            w->bytes->resize(w->at + n);
        memcpy(&(*w->bytes)[w->at], data, n);
        w->at += n;
        return count;
    };
    stream->close = [](SDL_RWops* s) -> int {
        delete static_cast<Written*>(s->hidden.unknown.data1);
        SDL_FreeRW(s);
        return 0;
    };
    return stream;
}

}  // namespace

std::string Canvas::bmp() const {
    std::string bytes;
    if (SDL_SaveBMP_RW(surface, stringWriter(bytes), 1) != 0)
        bytes.clear();
    return bytes;
}

std::string Canvas::png() const {
    std::string bytes;
    if (IMG_SavePNG_RW(surface, stringWriter(bytes), 1) != 0)
        bytes.clear();
    return bytes;
}

Type::Type(Face face, int size) : font(TTF_OpenFont(faceFile(face), size)) {
    if (!font) {
        fprintf(stderr, "Cannot open the font %s: %s\n", faceFile(face), TTF_GetError());
        exit(1);
    }
}

Type::~Type() {
    TTF_CloseFont(font);
}

int Type::width(const std::string& text) const {
    int w = 0, h = 0;
    TTF_SizeUTF8(font, text.c_str(), &w, &h);
    return w;
}

int Type::lineHeight() const {
    return TTF_FontLineSkip(font);
}

void Type::draw(Canvas& canvas, const std::string& text, int x, int y, Colour c, Align align,
                double alpha) const {
    if (text.empty())
        return;
    SDL_Surface* s = render(font, text);
    if (!s)
        return;
    if (align == Align::Centre)
        x -= s->w / 2;
    if (align == Align::Right)
        x -= s->w;
    for (int j = 0; j < s->h; ++j)
        for (int i = 0; i < s->w; ++i)
            canvas.blend(x + i, y + j, c, alpha * coverage(s, i, j));
    SDL_FreeSurface(s);
}

void Type::drawShadowed(Canvas& canvas, const std::string& text, int x, int y, Colour c,
                        Align align) const {
    draw(canvas, text, x + 2, y + 2, {0, 0, 0}, align, 0.45);
    draw(canvas, text, x, y, c, align);
}

void Type::drawSharp(Canvas& canvas, const std::string& text, int x, int y, Colour c,
                     int outline) const {
    SDL_Surface* s = render(font, text);
    if (!s)
        return;
    for (int j = 0; j < s->h; ++j)
        for (int i = 0; i < s->w; ++i) {
            if (coverage(s, i, j) >= 0.5) {
                canvas.set(x + i, y + j, c);
                continue;
            }
            if (outline <= 0)
                continue;
            bool near = false;  // an outline pixel borders the glyph
            for (int v = -outline; v <= outline && !near; ++v)
                for (int u = -outline; u <= outline && !near; ++u) {
                    const int si = i + u, sj = j + v;
                    near =
                        si >= 0 && sj >= 0 && si < s->w && sj < s->h && coverage(s, si, sj) >= 0.5;
                }
            if (near)
                canvas.set(x + i, y + j, {20, 20, 30});
        }
    SDL_FreeSurface(s);
}

bool Type::inkBox(const std::string& text, int& left, int& top, int& right, int& bottom) const {
    SDL_Surface* s = render(font, text);
    if (!s)
        return false;
    left = top = 1 << 20;
    right = bottom = -1;
    for (int j = 0; j < s->h; ++j)
        for (int i = 0; i < s->w; ++i)
            if (coverage(s, i, j) >= 0.5) {
                left = std::min(left, i);
                right = std::max(right, i);
                top = std::min(top, j);
                bottom = std::max(bottom, j);
            }
    SDL_FreeSurface(s);
    return right >= 0;
}

size_t Type::fittingPrefix(const std::string& word, int width) const {
    const auto next = [&](size_t at) {  // the start of the UTF-8 character after the one at `at`
        ++at;
        while (at < word.size() && (static_cast<unsigned char>(word[at]) & 0xC0) == 0x80)
            ++at;
        return at;
    };
    size_t cut = next(0);  // one character at least, however narrow the column
    for (size_t more = next(cut); cut < word.size() && this->width(word.substr(0, more)) <= width;
         more = next(more))
        cut = more;
    return cut;
}

int Type::paragraph(Canvas& canvas, const std::string& text, int x, int y, int width, Colour c,
                    Align align, int bottom) const {
    std::istringstream lines(text);
    std::string raw;
    while (std::getline(lines, raw)) {
        if (raw.empty()) {
            y += lineHeight() / 2;
            continue;
        }
        std::istringstream words(raw);
        std::string word, line;
        auto flush = [&] {
            const int at = align == Align::Centre  ? x + width / 2
                           : align == Align::Right ? x + width
                                                   : x;
            if (y + lineHeight() <= bottom)
                draw(canvas, line, at, y, c, align);
            y += lineHeight();
            line.clear();
        };
        while (words >> word) {
            const std::string candidate = line.empty() ? word : line + " " + word;
            if (this->width(candidate) <= width) {
                line = candidate;
                continue;
            }
            if (!line.empty())
                flush();
            // A word wider than the column (an address, a run of a script without spaces) is
            // broken between its characters: every line stays within the column.
            while (this->width(word) > width) {
                const size_t cut = fittingPrefix(word, width);
                line = word.substr(0, cut);
                flush();
                word.erase(0, cut);
            }
            line = word;
        }
        if (!line.empty())
            flush();
    }
    return y;
}

void drawScaled(Canvas& to, const Canvas& from, int dx, int dy, int dw, int dh) {
    const double stepX = static_cast<double>(from.width()) / dw;
    const double stepY = static_cast<double>(from.height()) / dh;
    for (int j = 0; j < dh; ++j)
        for (int i = 0; i < dw; ++i) {
            double r = 0, g = 0, b = 0, a = 0, n = 0;
            if (stepX > 1.5 || stepY > 1.5) {  // shrinking: the mean of the pixels it covers
                for (int y = static_cast<int>(j * stepY); y < static_cast<int>((j + 1) * stepY);
                     ++y)
                    for (int x = static_cast<int>(i * stepX); x < static_cast<int>((i + 1) * stepX);
                         ++x) {
                        const Colour c = from.get(x, y);
                        const double w = from.alphaAt(x, y);
                        r += c.r * w, g += c.g * w, b += c.b * w, a += w, n += 1;
                    }
            } else {  // bilinear
                const double sx = (i + 0.5) * stepX - 0.5, sy = (j + 0.5) * stepY - 0.5;
                const int x0 = static_cast<int>(std::floor(sx)),
                          y0 = static_cast<int>(std::floor(sy));
                for (int k = 0; k < 4; ++k) {
                    const int x = std::max(0, std::min(from.width() - 1, x0 + k % 2));
                    const int y = std::max(0, std::min(from.height() - 1, y0 + k / 2));
                    const double w = (k % 2 ? sx - x0 : 1 - (sx - x0)) *
                                     (k / 2 ? sy - y0 : 1 - (sy - y0)) * from.alphaAt(x, y);
                    const Colour c = from.get(x, y);
                    r += c.r * w, g += c.g * w, b += c.b * w, a += w;
                    n += (k % 2 ? sx - x0 : 1 - (sx - x0)) * (k / 2 ? sy - y0 : 1 - (sy - y0));
                }
            }
            if (a > 0)
                to.blend(
                    dx + i, dy + j,
                    {static_cast<int>(std::lround(r / a)), static_cast<int>(std::lround(g / a)),
                     static_cast<int>(std::lround(b / a))},
                    a / n);
        }
}
