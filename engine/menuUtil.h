// Holds the screen a menu draws on and puts whole pictures on it: shown at once, or shown and
// held for a number of seconds.
#pragma once

class gnScreen;

class menuUtil {
  public:
    menuUtil();
    virtual ~menuUtil();

    // Draws the BMP file at its own size from the top left corner and updates the screen.
    void displayImageFile(const char* file);
    // displayImageFile, then sleeps; events that arrive meanwhile stay queued.
    void delayScreen(const char* file, int seconds);

    gnScreen* screen;  // not owned; set by the owner before drawing
};
