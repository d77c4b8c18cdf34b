#include "gnPlatform.h"

#include "port/gnPort.h"

void gnStartProgram(const char* commandLine) {
    gnPort::get().startProgram(commandLine);
}

void gnFileSaved(const char* path) {
    gnPort::get().fileSaved(path);
}

void gnShowKeyboard(bool on) {
    gnPort::get().showKeyboard(on);
}
