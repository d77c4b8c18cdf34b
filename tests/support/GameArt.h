// Pictures with the game's layouts, written by the tests: a font whose every glyph cell has a
// colour of its own (so a test can read back which glyph landed where), a puzzle picture whose
// every pixel tells its position, and gate strips.
#pragma once

#include <SDL.h>

#include <string>

// The colour of glyph cell `cell` (x / 19) in picture row `row` (y / 17).
uint32_t fontCellColour(int cell, int row);
std::string writeFontBmp(const std::string& path, int w = 494, int h = 51);
// The character whose glyph colour is at (x, y) of the surface, or 0 for none.
char glyphAt(SDL_Surface* surface, int x, int y);
// The text drawn at `at`, read back glyph by glyph (19 pixels each), `count` characters.
std::string textAt(SDL_Surface* surface, int x, int y, int count);
