// What the game asks of the platform beyond drawing and input, served by the port's back end
// (a desktop's or a browser's).
#pragma once

#include <cstdint>
#include <string>

// Starts a program without waiting for it; failures are ignored (the print program: on the
// desktop its own process, in a browser the certificate page).
void gnStartProgram(const char* commandLine);
// What the print program is handed before it starts: the check line, the time as MM:SS and
// the round's id. A desktop's program reads them from the files the game wrote; a browser's
// certificate page takes them from here.
void gnHandOver(const char* check, const char* time, const char* round);
// A file was replaced whole (the highscore table): the platform keeps it (a browser writes it
// through to its lasting storage).
void gnFileSaved(const char* path);
// The name entry wants letters: a phone shows its on-screen keyboard.
void gnShowKeyboard(bool on);
// A seed the platform was handed for the next round (in a browser beside an event server, the
// server's), with the id the round is to have; false: the game draws its own.
bool gnIssuedSeed(uint32_t& seed, std::string& id);
// The event's table the platform holds for the game (in a browser beside an event server, the
// server's latest answer, as JSON); "" outside an event.
std::string gnEventTable();
