// A kiosk that resets itself: under the kiosk service a round or a name entry left alone ends
// as Esc ends it, and a menu left alone shows the information screens in turn until someone
// touches the screen or a key, which brings the welcome screen. Elsewhere the game has no
// time limit.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "GameInput.h"
#include "RoundFile.h"
#include "SolrindPGameShell.h"
#include "gnInput.h"
#include "gnTime.h"

namespace {

constexpr const char* kKioskVariable = "SOLRIND_KIOSK";  // "1" under the kiosk service
constexpr const char* kIdleVariable = "SOLRIND_IDLE_SECONDS";
constexpr uint32_t kIdleSeconds = 90;  // without the variable
constexpr uint32_t kIdleSecondsMax = 86400;
constexpr uint32_t kMsPerSecond = 1000;
constexpr uint32_t kAttractScreenMs = 8000;  // each screen of the attract loop
constexpr size_t kShownMax = 40;             // characters of a bad setting shown in its line

using Shell = SolrindPGameShell;
// The information screens in turn: the welcome, the rules, the three prize pages, the two
// sponsor pages, the highscore table.
constexpr int kAttractChoices[] = {Shell::kWelcome,  Shell::kRules,    Shell::kPrizes,
                                   Shell::kNextPage, Shell::kNextPage, Shell::kSponsor,
                                   Shell::kNextPage, Shell::kScores};
constexpr int kAttractSteps = sizeof kAttractChoices / sizeof kAttractChoices[0];

// The number a text gives: digits only, 1 to max; 0 for anything else.
uint32_t numberIn(const char* text, uint32_t max) {
    uint32_t number = 0;
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9' || number > max)
            return 0;
        number = number * 10 + static_cast<uint32_t>(*c - '0');
    }
    return number <= max ? number : 0;
}

// A setting as a line may show it: printable characters only, at most kShownMax of them.
std::string shown(const char* text) {
    std::string out;
    for (const char* c = text; *c && out.size() < kShownMax; ++c)
        out += *c >= ' ' && *c <= '~' ? *c : '?';
    return out;
}

}  // namespace

void SolrindPGameShell::readKioskSettings() {
    uint32_t megabytes = roundfile::kDefaultCapMb;
    if (const char* text = getenv(roundfile::kCapVariable)) {
        if (const uint32_t given = numberIn(text, roundfile::kMaxCapMb))
            megabytes = given;
        else
            printf("%s=%s is no number of megabytes from 1 to %u: %u are kept\n",
                   roundfile::kCapVariable, shown(text).c_str(), roundfile::kMaxCapMb,
                   roundfile::kDefaultCapMb);
    }
    roundsCap = uint64_t{megabytes} * roundfile::kMegabyte;
    const char* kiosk = getenv(kKioskVariable);
    if (!kiosk || std::string(kiosk) != "1") {
        idleLimitMs = 0;
        return;
    }
    uint32_t seconds = kIdleSeconds;
    if (const char* text = getenv(kIdleVariable)) {
        if (const uint32_t given = numberIn(text, kIdleSecondsMax))
            seconds = given;
        else
            printf("%s=%s is no number of seconds from 1 to %u: %u are used\n", kIdleVariable,
                   shown(text).c_str(), kIdleSecondsMax, kIdleSeconds);
    }
    idleLimitMs = seconds * kMsPerSecond;
}

bool SolrindPGameShell::isLeftAlone() {
    return idleLimitMs != 0 && gnInputIdleMs() >= idleLimitMs &&
           gnGetTicks() - aloneFrom >= idleLimitMs;
}

void SolrindPGameShell::pressEscape(gnInputHandler* handler) {
    SDL_Event escape = {};
    escape.type = SDL_KEYDOWN;
    escape.key.keysym.sym = SDLK_ESCAPE;
    escape.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    handler->handleEvent(&escape);
}

void SolrindPGameShell::attract() {
    if (idleLimitMs == 0)
        return;
    const uint32_t now = gnGetTicks();
    if (!attracting) {
        if (!isLeftAlone())
            return;
        attracting = true;
        attractSince = now;
        attractStep = currentScreen == kWelcome ? 1 : 0;  // the welcome screen is shown
        nextAttractScreen();
        return;
    }
    // Any input since the loop began wakes the game: the welcome screen, and nothing else the
    // input would have done.
    if (gnInputIdleMs() < now - attractSince) {
        attracting = false;
        gameInput->selected = kWelcome;
        gameInput->buttonPressed = false;
        gameInput->buttonReleased = false;
        return;
    }
    if (now - attractShownAt >= kAttractScreenMs)
        nextAttractScreen();
}

void SolrindPGameShell::nextAttractScreen() {
    gameInput->selected = kAttractChoices[attractStep];
    attractStep = (attractStep + 1) % kAttractSteps;
    attractShownAt = gnGetTicks();
}
