#include "Canvas.h"

#include <SDL.h>
#include <SDL_image.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

int clampByte(double v) {
    return static_cast<int>(std::max(0.0, std::min(255.0, std::round(v))));
}

const char* faceName(Type::Face face) {
    switch (face) {
        case Type::Face::Sans:
            return "DejaVu Sans";
        case Type::Face::SansBold:
            return "DejaVu Sans Bold";
        case Type::Face::Serif:
            return "DejaVu Serif";
        case Type::Face::SerifBold:
            return "DejaVu Serif Bold";
        case Type::Face::Mono:
            return "DejaVu Sans Mono";
        case Type::Face::MonoBold:
            return "DejaVu Sans Mono Bold";
    }
    return "";
}

cairo_t* drawingOn(cairo_surface_t* surface, int w, int h) {
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        fprintf(stderr, "Out of memory for a %dx%d picture\n", w, h);
        exit(1);
    }
    return cairo_create(surface);
}

// The picture as an SDL surface of its 24-bit pixels (sharing them), for SDL's writers.
SDL_Surface* asSdl(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    return SDL_CreateRGBSurfaceWithFormatFrom(
        cairo_image_surface_get_data(surface), cairo_image_surface_get_width(surface),
        cairo_image_surface_get_height(surface), 32, cairo_image_surface_get_stride(surface),
        SDL_PIXELFORMAT_RGB888);
}

// An SDL surface's file as bytes, written by SDL into memory of the largest size it can take.
template <typename Save>
std::string written(cairo_surface_t* surface, size_t room, Save save) {
    std::string bytes(room, '\0');
    SDL_Surface* pixels = asSdl(surface);
    SDL_Surface* rgb =
        pixels ? SDL_ConvertSurfaceFormat(pixels, SDL_PIXELFORMAT_RGB24, 0) : nullptr;
    SDL_RWops* stream = SDL_RWFromMem(bytes.data(), static_cast<int>(room));
    if (rgb && stream && save(rgb, stream) == 0)
        bytes.resize(static_cast<size_t>(SDL_RWtell(stream)));
    else
        bytes.clear();
    if (stream)
        SDL_RWclose(stream);
    SDL_FreeSurface(rgb);
    SDL_FreeSurface(pixels);
    return bytes;
}

// Every layout of the art maker shares one Pango context: pixels as units, greyscale
// smoothing, outlines hinted lightly, the same on every machine.
PangoContext* textContext() {
    static PangoContext* context = [] {
        PangoContext* made = pango_font_map_create_context(pango_cairo_font_map_get_default());
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
        pango_cairo_context_set_font_options(made, options);
        cairo_font_options_destroy(options);
        return made;
    }();
    return context;
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
        return times(c, factor);
    return mix(c, {255, 255, 255}, std::min(1.0, factor - 1));
}

Canvas::Canvas(int width, int height, Colour fill)
    : w(width),
      h(height),
      surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)),
      cr(drawingOn(surface, width, height)) {
    this->fill(0, 0, width, height, fill);
}

Canvas::~Canvas() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

uint32_t* Canvas::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= w || y >= h)
        return nullptr;
    cairo_surface_flush(surface);
    return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface) +
                                       y * cairo_image_surface_get_stride(surface)) +
           x;
}

Colour Canvas::get(int x, int y) const {
    const uint32_t* p = pixel(x, y);
    if (!p)
        return {0, 0, 0};
    return {static_cast<int>(*p >> 16 & 255), static_cast<int>(*p >> 8 & 255),
            static_cast<int>(*p & 255)};
}

void Canvas::set(int x, int y, Colour c) {
    uint32_t* p = pixel(x, y);
    if (!p)
        return;
    *p = 0xFF000000u | static_cast<uint32_t>(c.r) << 16 | static_cast<uint32_t>(c.g) << 8 |
         static_cast<uint32_t>(c.b);
    cairo_surface_mark_dirty_rectangle(surface, x, y, 1, 1);
}

void Canvas::blend(int x, int y, Colour c, double alpha) {
    if (alpha > 0)
        set(x, y, alpha >= 1 ? c : mix(get(x, y), c, alpha));
}

void Canvas::source(Colour c, double alpha) {
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

void Canvas::fill(int x, int y, int w, int h, Colour c) {
    source(c, 1);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
}

void Canvas::verticalGradient(int x, int y, int w, int h, Colour top, Colour bottom) {
    roundedGradient(x, y, w, h, 0, top, bottom);
}

void Canvas::disc(double cx, double cy, double r, Colour c, double alpha) {
    ellipse(cx, cy, r, r, c, alpha);
}

void Canvas::ellipse(double cx, double cy, double rx, double ry, Colour c, double alpha) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    source(c, alpha);
    cairo_fill(cr);
}

void Canvas::polygon(const std::vector<Point>& points, Colour c, double alpha) {
    for (const Point& p : points)
        cairo_line_to(cr, p.x, p.y);
    cairo_close_path(cr);
    source(c, alpha);
    cairo_fill(cr);
}

void Canvas::line(Point a, Point b, double width, Colour c, double alpha) {
    cairo_move_to(cr, a.x, a.y);
    cairo_line_to(cr, b.x, b.y);
    cairo_set_line_width(cr, width);
    source(c, alpha);
    cairo_stroke(cr);
}

void Canvas::roundedRect(int x, int y, int w, int h, double radius, Colour c, double alpha) {
    roundedGradient(x, y, w, h, radius, c, c, alpha);
}

void Canvas::roundedGradient(int x, int y, int w, int h, double radius, Colour top, Colour bottom,
                             double alpha) {
    radius = std::min({radius, w / 2.0, h / 2.0});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
    // The top row's middle is top, the bottom row's middle bottom.
    cairo_pattern_t* fade = cairo_pattern_create_linear(0, y + 0.5, 0, y + std::max(h - 0.5, 1.0));
    cairo_pattern_add_color_stop_rgba(fade, 0, top.r / 255.0, top.g / 255.0, top.b / 255.0, alpha);
    cairo_pattern_add_color_stop_rgba(fade, 1, bottom.r / 255.0, bottom.g / 255.0, bottom.b / 255.0,
                                      alpha);
    cairo_set_source(cr, fade);
    cairo_fill(cr);
    cairo_pattern_destroy(fade);
}

void Canvas::frame(int x, int y, int w, int h, int thickness, Colour c) {
    fill(x, y, w, thickness, c);
    fill(x, y + h - thickness, w, thickness, c);
    fill(x, y, thickness, h, c);
    fill(x + w - thickness, y, thickness, h, c);
}

void Canvas::glow(double cx, double cy, double r, Colour c, double strength) {
    // strength * (1 - d)^2 at d radii from the middle, as stops along the radius.
    cairo_pattern_t* light = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
    for (int stop = 0; stop <= 8; ++stop) {
        const double d = stop / 8.0;
        cairo_pattern_add_color_stop_rgba(light, d, c.r / 255.0, c.g / 255.0, c.b / 255.0,
                                          strength * (1 - d) * (1 - d));
    }
    cairo_set_source(cr, light);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(light);
}

void Canvas::copy(const Canvas& from, int sx, int sy, int w, int h, int dx, int dy) {
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, from.surface, dx - sx, dy - sy);
    cairo_rectangle(cr, dx, dy, w, h);
    cairo_fill(cr);
    cairo_restore(cr);
}

void Canvas::tint(int x, int y, int w, int h, Colour tint, double amount, double factor) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            set(i, j, mix(shade(get(i, j), factor), tint, amount));
}

void Canvas::draw(const Picture& picture, double x, double y, double w, double h) {
    picture.draw(cr, x, y, w, h);
}

void Canvas::drawScaled(const Canvas& from, double dx, double dy, double dw, double dh) {
    cairo_save(cr);  // nothing is drawn beyond the other canvas's edges
    cairo_translate(cr, dx, dy);
    cairo_scale(cr, dw / from.w, dh / from.h);
    cairo_set_source_surface(cr, from.surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
}

std::string Canvas::bmp() const {
    const size_t room = 54 + static_cast<size_t>((3 * w + 3) / 4 * 4) * h;
    return written(surface, room,
                   [](SDL_Surface* s, SDL_RWops* to) { return SDL_SaveBMP_RW(s, to, 0); });
}

std::string Canvas::png() const {
    // A PNG holds at most its pixels and their filter bytes plus its headers, when SDL_image
    // finds nothing to pack.
    const size_t room = 4096 + static_cast<size_t>(3 * w + 1) * h * 11 / 10;
    return written(surface, room,
                   [](SDL_Surface* s, SDL_RWops* to) { return IMG_SavePNG_RW(s, to, 0); });
}

Type::Type(Face face, int size) : layout(pango_layout_new(textContext())) {
    PangoFontDescription* font = pango_font_description_from_string(faceName(face));
    pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
}

Type::~Type() {
    g_object_unref(layout);
}

PangoLayout* Type::laidOut(const std::string& text, int width) const {
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    pango_layout_set_width(layout, width < 0 ? -1 : width * PANGO_SCALE);
    return layout;
}

int Type::width(const std::string& text) const {
    int w = 0, h = 0;
    pango_layout_get_pixel_size(laidOut(text), &w, &h);
    return w;
}

int Type::lineHeight() const {
    int w = 0, h = 0;
    pango_layout_get_pixel_size(laidOut("x"), &w, &h);
    return h;
}

int Type::missing(const std::string& text) const {
    return pango_layout_get_unknown_glyphs_count(laidOut(text));
}

bool Type::rightToLeft(const std::string& text) const {
    const PangoLayoutLine* first = pango_layout_get_line_readonly(laidOut(text), 0);
    return first && first->resolved_dir == PANGO_DIRECTION_RTL;
}

void Type::draw(Canvas& canvas, const std::string& text, int x, int y, Colour c, Align align,
                double alpha) const {
    const int w = width(text);
    cairo_t* cr = canvas.cairo();
    cairo_move_to(cr, align == Align::Centre ? x - w / 2 : align == Align::Right ? x - w : x, y);
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
    pango_cairo_show_layout(cr, laidOut(text));
}

void Type::drawShadowed(Canvas& canvas, const std::string& text, int x, int y, Colour c,
                        Align align) const {
    draw(canvas, text, x + 2, y + 2, {0, 0, 0}, align, 0.45);
    draw(canvas, text, x, y, c, align);
}

std::vector<unsigned char> Type::coverage(const std::string& text, int margin, int& w,
                                          int& h) const {
    pango_layout_get_pixel_size(laidOut(text), &w, &h);
    w += 2 * margin, h += 2 * margin;
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
    cairo_t* cr = cairo_create(mask);
    cairo_move_to(cr, margin, margin);
    pango_cairo_show_layout(cr, layout);
    cairo_destroy(cr);
    cairo_surface_flush(mask);
    std::vector<unsigned char> cover(static_cast<size_t>(w) * h);
    const int stride = cairo_image_surface_get_stride(mask);
    for (int j = 0; j < h; ++j)
        std::copy_n(cairo_image_surface_get_data(mask) + j * stride, w, &cover[j * size_t(w)]);
    cairo_surface_destroy(mask);
    return cover;
}

void Type::drawSharp(Canvas& canvas, const std::string& text, int x, int y, Colour c,
                     int outline) const {
    const int margin = 2 + outline;  // room for ink outside the line's box, and its outline
    int w = 0, h = 0;
    const std::vector<unsigned char> cover = coverage(text, margin, w, h);
    const auto inked = [&](int i, int j) {
        return i >= 0 && j >= 0 && i < w && j < h && cover[j * size_t(w) + i] >= 128;
    };
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            bool near = false;  // an outline pixel borders the glyph
            for (int v = -outline; v <= outline && !near; ++v)
                for (int u = -outline; u <= outline && !near; ++u)
                    near = inked(i + u, j + v);
            if (inked(i, j))
                canvas.set(x + i - margin, y + j - margin, c);
            else if (near)
                canvas.set(x + i - margin, y + j - margin, {20, 20, 30});
        }
}

bool Type::inkBox(const std::string& text, int& left, int& top, int& right, int& bottom) const {
    const int margin = 2;
    int w = 0, h = 0;
    const std::vector<unsigned char> cover = coverage(text, margin, w, h);
    left = top = 1 << 20;
    right = bottom = -(1 << 20);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (cover[j * size_t(w) + i] >= 128) {
                left = std::min(left, i - margin);
                right = std::max(right, i - margin);
                top = std::min(top, j - margin);
                bottom = std::max(bottom, j - margin);
            }
    return right >= left;
}

int Type::paragraph(Canvas& canvas, const std::string& text, int x, int y, int width, Colour c,
                    Align align, int bottom) const {
    cairo_t* cr = canvas.cairo();
    cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0);
    std::istringstream lines(text);
    std::string raw;
    while (std::getline(lines, raw)) {
        if (raw.empty()) {
            y += lineHeight() / 2;
            continue;
        }
        // Left and right are the paragraph's start and end: Pango swaps them for one that
        // reads from the right.
        pango_layout_set_alignment(layout, align == Align::Centre  ? PANGO_ALIGN_CENTER
                                           : align == Align::Right ? PANGO_ALIGN_RIGHT
                                                                   : PANGO_ALIGN_LEFT);
        PangoLayoutIter* line = pango_layout_get_iter(laidOut(raw, width));
        do {
            PangoRectangle box;
            pango_layout_iter_get_line_extents(line, nullptr, &box);
            const int lineBottom = y + PANGO_PIXELS(box.y + box.height);
            if (lineBottom <= bottom) {
                cairo_move_to(cr, x + PANGO_PIXELS(box.x),
                              y + PANGO_PIXELS(pango_layout_iter_get_baseline(line)));
                pango_cairo_show_layout_line(cr, pango_layout_iter_get_line_readonly(line));
            }
        } while (pango_layout_iter_next_line(line));
        pango_layout_iter_free(line);
        int w = 0, h = 0;
        pango_layout_get_pixel_size(layout, &w, &h);
        y += h;
    }
    pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
    return y;
}
