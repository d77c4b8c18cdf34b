// The sponsor's look: the puzzle's landscape (a midsummer fjord at sunset, where every tile
// of the 5 by 5 grid shows something of its own) and the Solrind sun logo.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Brand.h"
#include "Canvas.h"

// The colours of the brand being drawn; setBrandArt sets them before anything is drawn.
struct Palette {
    Colour night, nightBottom;  // the screens' backdrop, from the top down
    Colour deepBlue;            // a lighter night, below the icon's sun
    Colour sun, gold, cream, ink, panel, muted;
};
extern Palette palette;

// The brand being drawn: its texts, and its pictures loaded (null for the built-in drawings).
struct BrandArt {
    const Brand* brand = nullptr;
    std::unique_ptr<Picture> logo;   // the sponsor's logo, or null for the Solrind sun
    std::unique_ptr<Canvas> puzzle;  // the puzzle photo cut and scaled to 440 by 440, or null
    std::map<std::string, std::unique_ptr<Picture>> pictures;  // page pictures from files
    // Problems found while drawing (texts that do not fit), one line each.
    std::vector<std::string> problems;
};
extern BrandArt art;
// Notes a problem when no installed font has some characters of the brand entry's text.
void checkFonts(const Type& type, const std::string& key, const std::string& text);
// Takes the brand's colours and loads its pictures; false, with the problems, when a picture
// cannot be read.
bool setBrandArt(const Brand& brand);
void releaseBrandArt();

// The 440 by 440 puzzle picture.
void drawLandscape(Canvas& canvas);
// The sun logo centred at (cx, cy) with radius r.
// The brand's emblem there: its logo within the sun's rays' box, or the Solrind sun.
void drawEmblem(Canvas& canvas, double cx, double cy, double r);
void drawSun(Canvas& canvas, double cx, double cy, double r);
// The brand's logo centred on cx, as large as the Solrind sun of that radius with the word
// SOLRIND under it in that size, which it is for the built-in brand.
void drawLogo(Canvas& canvas, int cx, int top, double sunRadius, int textSize);
// The dark backdrop shared by the information screens: a night-blue gradient with a faint
// sun glow in one corner and a thin gold frame.
void drawBackdrop(Canvas& canvas);
