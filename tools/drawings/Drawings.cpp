#include "Drawings.h"

#include <SDL.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "PictureFile.h"

std::string drawings::painted(const char* drawing, uint32_t glow, uint32_t accent, uint32_t sign) {
    char css[320];
    snprintf(css, sizeof css,
             "<style>.sun-ray { fill: #%06x !important; } .sun-rim { stop-color: #%06x "
             "!important; } .sun-core { stop-color: #%06x !important; } .gold { fill: #%06x "
             "!important; } .sign { fill: #%06x !important; }</style>",
             glow & 0xFFFFFFu, glow & 0xFFFFFFu, accent & 0xFFFFFFu, accent & 0xFFFFFFu,
             sign & 0xFFFFFFu);
    std::string svg = drawing;
    const size_t defs = svg.find("<defs>");
    return defs == std::string::npos ? svg : svg.insert(defs + 6, css);
}

Picture::Picture(const std::string& svg) {
    GError* error = nullptr;
    vectors =
        rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &error);
    if (vectors && !rsvg_handle_get_intrinsic_size_in_pixels(vectors, &w, &h)) {
        // No width and height of its own: the view box's.
        gboolean hasViewBox = false;
        RsvgRectangle viewBox;
        rsvg_handle_get_intrinsic_dimensions(vectors, nullptr, nullptr, nullptr, nullptr,
                                             &hasViewBox, &viewBox);
        w = hasViewBox ? viewBox.width : 0;
        h = hasViewBox ? viewBox.height : 0;
    }
    problem = error ? error->message : w <= 0 || h <= 0 ? "it gives no size" : "";
    if (error)
        g_error_free(error);
    if (!problem.empty() && vectors) {
        g_object_unref(vectors);
        vectors = nullptr;
    }
}

std::unique_ptr<Picture> Picture::load(const std::string& file, std::string& why) {
    PictureFile picture;
    if (!picture.read(file, why))
        return nullptr;
    if (strcmp(picture.type, "SVG") == 0) {
        std::unique_ptr<Picture> svg(new Picture(picture.bytes));
        why = svg->problem;
        return svg->ok() ? std::move(svg) : nullptr;
    }
    SDL_Surface* loaded = picture.decode(why);
    SDL_Surface* argb =
        loaded ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0) : nullptr;
    SDL_FreeSurface(loaded);
    if (!argb) {
        if (why.empty())
            why = SDL_GetError();
        return nullptr;
    }
    std::unique_ptr<Picture> bitmap(new Picture);
    bitmap->w = argb->w, bitmap->h = argb->h;
    bitmap->pixels = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, argb->w, argb->h);
    uint8_t* to = cairo_image_surface_get_data(bitmap->pixels);
    const int stride = cairo_image_surface_get_stride(bitmap->pixels);
    for (int y = 0; y < argb->h; ++y)
        for (int x = 0; x < argb->w; ++x) {
            const uint32_t p =
                static_cast<const uint32_t*>(argb->pixels)[y * (argb->pitch / 4) + x];
            const uint32_t a = p >> 24;  // cairo's colours are premultiplied
            const auto pre = [&](int shift) { return ((p >> shift & 255) * a + 127) / 255; };
            reinterpret_cast<uint32_t*>(to + y * stride)[x] =
                a << 24 | pre(16) << 16 | pre(8) << 8 | pre(0);
        }
    cairo_surface_mark_dirty(bitmap->pixels);
    SDL_FreeSurface(argb);
    return bitmap;
}

Picture::~Picture() {
    if (vectors)
        g_object_unref(vectors);
    if (pixels)
        cairo_surface_destroy(pixels);
}

void Picture::draw(cairo_t* cr, double x, double y, double boxW, double boxH) const {
    if (!ok())
        return;
    const double scale = std::min(boxW / w, boxH / h);
    const RsvgRectangle box = {x + (boxW - w * scale) / 2, y + (boxH - h * scale) / 2, w * scale,
                               h * scale};
    if (vectors) {  // the box's shape is its own: nothing its view box says stretches it
        rsvg_handle_render_document(vectors, cr, &box, nullptr);
        return;
    }
    cairo_save(cr);
    cairo_rectangle(cr, box.x, box.y, box.width, box.height);
    cairo_clip(cr);
    cairo_translate(cr, box.x, box.y);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, pixels, 0, 0);
    // Shrinking averages the pixels a pixel covers; growing is bilinear.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
}
