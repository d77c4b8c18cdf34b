#include "SolrindPMain.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "SolrindPGameShell.h"
#include "gnInput.h"

namespace {

constexpr int kExitAfterRun = 1;  // after a normal quit and after a caught error alike
constexpr int kExitNoSdl = 2;

}  // namespace

void RunMain(int argc, char** argv) {
    gnInstallTerminationHandlers();  // a service manager's stop ends the run, nothing half done
    // Audio starts with the device (Audio::start): a machine or a browser without sound plays
    // silently after one line, rather than not at all.
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        printf("%s\n", SDL_GetError());
        fprintf(stderr, "Couldn't initialize SDL: %s\n", SDL_GetError());
        exit(kExitNoSdl);
    }
    SolrindPGameShell* shell = new SolrindPGameShell();
    shell->checkedExec(argc, argv);
    delete shell;
    SDL_Quit();
    fflush(stdout);
    exit(kExitAfterRun);
}
