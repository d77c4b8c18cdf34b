// The keyboard drawn on the record screen, for a touch screen without a real one: four rows of
// eleven keys whose taps type as the keys of a keyboard do (the letters and digits of the
// font, its three extra letters, space, the arrows, Backspace and OK). The name entry reads
// the taps; the art maker draws the keys where this says.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "gnGeomUtil.h"

namespace namekeys {

constexpr int kRows = 4;
constexpr int kColumns = 11;
constexpr int32_t kKeyW = 36;  // pixels
constexpr int32_t kKeyH = 30;
constexpr int32_t kPitchX = 40;
constexpr int32_t kPitchY = 34;
constexpr int32_t kLeft = 162;  // screen pixels of the top left key
constexpr int32_t kTop = 356;

// The key each one types, row by row. The font's extra letters are typed with the grave
// accent, the apostrophe and the closing bracket; OK is Enter.
constexpr SDL_Keycode kKeys[kRows][kColumns] = {
    {SDLK_1, SDLK_2, SDLK_3, SDLK_4, SDLK_5, SDLK_6, SDLK_7, SDLK_8, SDLK_9, SDLK_0,
     SDLK_BACKSPACE},
    {SDLK_q, SDLK_w, SDLK_e, SDLK_r, SDLK_t, SDLK_y, SDLK_u, SDLK_i, SDLK_o, SDLK_p,
     SDLK_RIGHTBRACKET},
    {SDLK_a, SDLK_s, SDLK_d, SDLK_f, SDLK_g, SDLK_h, SDLK_j, SDLK_k, SDLK_l, SDLK_BACKQUOTE,
     SDLK_QUOTE},
    {SDLK_z, SDLK_x, SDLK_c, SDLK_v, SDLK_b, SDLK_n, SDLK_m, SDLK_SPACE, SDLK_LEFT, SDLK_RIGHT,
     SDLK_RETURN},
};

// The key's area on the screen.
constexpr gnRectangle area(int row, int column) {
    return gnRect(kLeft + kPitchX * column, kTop + kPitchY * row, kKeyW, kKeyH);
}

// The key under a screen point, SDLK_UNKNOWN between and outside the keys.
inline SDL_Keycode keyAt(const pt& p) {
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            if (rectManip::containsPoint(area(row, column), p))
                return kKeys[row][column];
    return SDLK_UNKNOWN;
}

}  // namespace namekeys
