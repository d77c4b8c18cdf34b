#include "menuUtil.h"

#include "gnExceptions.h"
#include "gnImages.h"
#include "gnScreen.h"
#include "gnTime.h"

namespace {

constexpr uint32_t kMsPerSecond = 1000;

}  // namespace

menuUtil::menuUtil() : screen(nullptr) {}

menuUtil::~menuUtil() = default;

void menuUtil::displayImageFile(const char* file) {
    if (!screen)
        gnE::gnRaiseBug("Screen object is not assigned in menuUtil::displayImageFile!");
    {
        gnImage picture;  // freed before the update, also when loading fails
        picture.setScreen(screen);
        picture.loadBMP(file);
        sz size;
        picture.getSize(size);
        gnRectangle whole;
        rectManip::init(whole, 0, 0, size.w, size.h);
        picture.display(whole, pointManip::zeroPoint);
    }
    screen->update();
}

void menuUtil::delayScreen(const char* file, int seconds) {
    displayImageFile(file);
    gnDelay(static_cast<uint32_t>(seconds) * kMsPerSecond);
}
