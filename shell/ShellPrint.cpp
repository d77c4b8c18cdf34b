// The print-out of a completed round's time: a two-line hand-over file for the print program,
// then the program started without waiting for it.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include <string>

#include "CountFont.h"
#include "GameFiles.h"
#include "SolrindPGameShell.h"
#include "gnFiles.h"

namespace {

constexpr const char* kFirstLine = "Cheaters will be punished!";
constexpr int kFirstNotInherited = 3;  // the started program keeps only its standard streams

// Closes every descriptor from kFirstNotInherited up, however many are open.
void closeInherited() {
    if (close_range(kFirstNotInherited, ~0u, 0) == 0)
        return;
    const long open = sysconf(_SC_OPEN_MAX);  // a kernel without close_range
    for (long fd = kFirstNotInherited; fd < (open > 0 ? open : 65536); ++fd)
        close(static_cast<int>(fd));
}

}  // namespace

void SolrindPGameShell::menuPrint() {
    controlledPrint("");
}

void SolrindPGameShell::controlledPrint(const char*) {
    char time[32];  // bounded whatever the numbers are
    snprintf(time, sizeof time, "%.2ld:%.2ld", static_cast<long>(countFont->getMinutes()),
             static_cast<long>(countFont->getSeconds()));
    printIt(kFirstLine, time);
}

void SolrindPGameShell::printIt(const char* first, const char* second) {
    if (!saveParams(files::kPrintHandOver, first, second)) {
        printf("Could not write %s: the time is not printed\n", files::kPrintHandOver);
        return;
    }
    executeFile(files::kPrintProgram);
}

bool SolrindPGameShell::saveParams(const char* file, const char* first, const char* second) {
    // The print program's platform ends text lines with CR LF. A new file takes the old one's
    // place: a print program from an earlier press may still be reading that.
    const std::string text = std::string(first) + "\r\n" + second + "\r\n";
    return gnReplaceFile(file, text.data(), text.size());
}

void SolrindPGameShell::executeFile(const char* commandLine) {
    // The program is started by a short-lived intermediate process, so that it belongs to
    // init and never becomes a zombie of the game; only the intermediate one is waited for,
    // and it ends at once.
    const pid_t middle = fork();
    if (middle < 0)
        return;
    if (middle == 0) {
        setsid();
        if (fork() == 0) {
            closeInherited();
            char* const argv[] = {const_cast<char*>(commandLine), nullptr};
            execv(commandLine, argv);
            _exit(127);  // not startable: ignored, as the game never learns of it
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
}
