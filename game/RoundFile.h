// A round's record as a file other programs read: one JSON object (docs/ROUNDS.md), kept in
// "Save/Rounds/" under the time it started and its id, written atomically when the round ends.
// The folder keeps at most a size the operator sets: the oldest rounds make room.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "Round.h"

namespace roundfile {

constexpr const char* kFolder = "Save/Rounds";
constexpr size_t kMaxBytes = 1 << 20;  // a round file larger than this is no round
constexpr int kFormat = 1;
constexpr const char* kCapVariable = "SOLRIND_ROUNDS_MB";  // the operator's limit
constexpr uint32_t kDefaultCapMb = 50;
constexpr uint32_t kMaxCapMb = 1000000;
constexpr uint64_t kMegabyte = 1000000;
constexpr const char* kKioskVariable = "SOLRIND_KIOSK_NAME";

// Gives a finished round its id (128 random bits), its kiosk (SOLRIND_KIOSK_NAME, else the
// host's name; "web" in a browser) and its start, now.
void stamp(RoundRecord& record);

// The file's bytes: compact JSON and a line break.
std::string format(const RoundRecord& record);
// Reads a round file's bytes; false with why, one line: the JSON's fault, or the first field
// that is missing, of the wrong kind or out of its range.
bool parse(const std::string& bytes, RoundRecord& record, std::string& why);

// The file name in the folder: "20261207T201503Z-<the id's first 8 digits>.json", so that
// names sort as the rounds started.
std::string fileName(const RoundRecord& record);
// Whether a folder entry's name is that of a round file.
bool isRoundName(const std::string& name);

// The short code a certificate names its round by: the id's first 12 digits, in capitals, in
// groups of four ("3F2A-91B0-C4D2"); "" when it does not start with 12 hexadecimal digits.
std::string code(const std::string& id);
// A code as someone typed it (dashes, spaces and case ignored) as the id's first 12 digits, or
// "" when it is no code.
std::string codeKey(const std::string& text);

// Writes the round into the folder (made when missing), then removes the oldest rounds of it
// and of the folders the nightly reset kept beside it ("<folder>.<date>") while they hold more
// than capBytes, with one line saying how many. False, with one line, when it could not be
// written: the game goes on.
bool save(const RoundRecord& record, const std::string& folder, uint64_t capBytes);

}  // namespace roundfile
