// A fixture with the fake port installed, an open 640 by 520 screen and a folder for the
// test's own pictures, which is the working directory during the test; turns raised engine
// errors into text for comparison.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Capture.h"
#include "FakePort.h"
#include "Pictures.h"
#include "gnExceptions.h"
#include "gnImages.h"
#include "gnScreen.h"

// Runs code and returns the printed form of the gnE it raised ("" when none).
std::string raisedBy(const std::function<void()>& code);

// A pixel a test expects, as 0xRRGGBB.
struct Pixel {
    int x, y;
    uint32_t colour;
};
// Expects every listed pixel of the surface to have its colour.
void expectPixels(SDL_Surface* surface, std::initializer_list<Pixel> pixels);

class EngineFixture : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A loaded image bound to the screen; owned by the fixture.
    gnImage* image(const std::string& path);
    std::string path(const std::string& name) const { return name; }  // in dir
    SDL_Surface* surface() { return screen.getSDLSurface(); }
    uint32_t at(int x, int y) { return pixelAt(surface(), x, y); }

    FakePort port;
    gnScreen screen;
    std::string dir;

  private:
    std::vector<gnImage*> images;
    char* home = nullptr;
};
