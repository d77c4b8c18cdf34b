// Starts a program and reports how long it takes until its first picture is on the X screen:
// polls the root window's pixel at the screen's centre every millisecond until it is no longer
// black (the X server is started with a black root). Prints "<pid> <milliseconds>" and leaves
// the program running. Used by scripts/measure.
// Usage: solrind_first_picture <timeout ms> <program> [arguments...]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: %s <timeout ms> <program> [arguments...]\n", argv[0]);
        return 2;
    }
    const long timeout = atol(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        fprintf(stderr, "no X display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    const int x = DisplayWidth(display, DefaultScreen(display)) / 2;
    const int y = DisplayHeight(display, DefaultScreen(display)) / 2;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        freopen("/dev/null", "w", stdout);  // the pipe to the caller carries the answer only
        execv(argv[2], argv + 2);
        _exit(127);
    }
    for (;;) {
        XImage* image = XGetImage(display, root, x, y, 1, 1, AllPlanes, ZPixmap);
        const unsigned long pixel = image ? XGetPixel(image, 0, 0) : 0;
        if (image)
            XDestroyImage(image);
        const long ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
        if ((pixel & 0xFFFFFF) != 0) {
            printf("%d %ld\n", static_cast<int>(pid), ms);
            return 0;
        }
        if (ms > timeout) {
            printf("%d timeout\n", static_cast<int>(pid));
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}
