#include "gnPlatform.h"

#include "port/gnPort.h"

void gnStartProgram(const char* commandLine) {
    gnPort::get().startProgram(commandLine);
}

void gnHandOver(const char* check, const char* time, const char* round) {
    gnPort::get().handOver(check, time, round);
}

void gnFileSaved(const char* path) {
    gnPort::get().fileSaved(path);
}

void gnShowKeyboard(bool on) {
    gnPort::get().showKeyboard(on);
}

bool gnIssuedSeed(uint32_t& seed, std::string& id) {
    return gnPort::get().issuedSeed(seed, id);
}

std::string gnEventTable() {
    return gnPort::get().eventTable();
}
