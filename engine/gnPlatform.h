// What the game asks of the platform beyond drawing and input, served by the port's back end
// (a desktop's or a browser's).
#pragma once

// Starts a program without waiting for it; failures are ignored (the print program: on the
// desktop its own process, in a browser the certificate page).
void gnStartProgram(const char* commandLine);
// A file was replaced whole (the highscore table): the platform keeps it (a browser writes it
// through to its lasting storage).
void gnFileSaved(const char* path);
// The name entry wants letters: a phone shows its on-screen keyboard.
void gnShowKeyboard(bool on);
