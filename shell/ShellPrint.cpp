// The print-out of a completed round's time: a two-line hand-over file for the print program,
// then the program started without waiting for it.

#include <cstdio>

#include <string>

#include "CountFont.h"
#include "GameLayout.h"
#include "SolrindPGameShell.h"
#include "gnFiles.h"
#include "gnPlatform.h"

namespace {

constexpr const char* kFirstLine = "Cheaters will be punished!";

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
    // The round printed, for a certificate that names it; without it the time still prints.
    const std::string id = round.record.id + "\n";
    if (!gnReplaceFile(files::kPrintRound, id.data(), id.size()))
        printf("Could not write %s: the certificate names no round\n", files::kPrintRound);
    if (!saveParams(files::kPrintHandOver, first, second)) {
        printf("Could not write %s: the time is not printed\n", files::kPrintHandOver);
        return;
    }
    gnHandOver(first, second, round.record.id.c_str());  // a browser's page takes them here
    executeFile(files::kPrintProgram);
}

bool SolrindPGameShell::saveParams(const char* file, const char* first, const char* second) {
    // The print program's platform ends text lines with CR LF. A new file takes the old one's
    // place: a print program from an earlier press may still be reading that.
    const std::string text = std::string(first) + "\r\n" + second + "\r\n";
    return gnReplaceFile(file, text.data(), text.size());
}

void SolrindPGameShell::executeFile(const char* commandLine) {
    gnStartProgram(commandLine);
}
