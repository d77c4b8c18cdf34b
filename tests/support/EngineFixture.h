// The fake port, an open 640 by 520 screen (945 by 768 at x 39 on the dummy 1024 by 768).
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

    WorkIn folder{"engine"};  // messages name the test's files relatively
    FakePort port;
    gnScreen screen;

  private:
    std::vector<gnImage*> images;
};
