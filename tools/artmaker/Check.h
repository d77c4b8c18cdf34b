// The checker of a set of pictures (solrind-art --check): every file the game reads is loaded
// as the game loads it, and each problem is one plain line naming the file and what to do.
// Errors keep the game from showing the picture as it should; warnings will look wrong.
#pragma once

#include <string>

// Checks <folder>/GFX and prints its lines and a summary on standard output; the number of
// errors (0 when every picture is usable).
int checkArt(const std::string& folder);
