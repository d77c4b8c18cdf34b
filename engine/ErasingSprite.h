// Marks the sprites that erase themselves by having a background redraw what they covered.
#pragma once

#include "gnAbsSprite.h"

class ErasingSprite : public gnAbsSprite {};
