// The fake port installed, an open 640 by 520 screen (on the dummy display, 1024 by 768, the
// picture is 945 by 768 at x 39 between black bars) and a folder of the test's own pictures,
// the working directory during the test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "FakePort.h"
#include "Files.h"
#include "Pictures.h"
#include "gnExceptions.h"
#include "gnImages.h"
#include "gnScreen.h"

// The printed form of the gnE the code raised ("" when none).
std::string raisedBy(const std::function<void()>& code);

struct Pixel {
    int x, y;
    uint32_t colour;  // 0xRRGGBB
};
void expectPixels(SDL_Surface* surface, std::initializer_list<Pixel> pixels);

class EngineFixture : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    gnImage* image(const std::string& file);  // loaded, bound to the screen, owned here
    SDL_Surface* surface() { return screen.getSDLSurface(); }
    uint32_t at(int x, int y) { return pixelAt(surface(), x, y); }

    FakePort port;
    gnScreen screen;

  private:
    std::vector<gnImage*> images;
    std::string home;
};
