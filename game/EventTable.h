// An event's table as a player's table: the event server's ten best, with the records this
// machine played that the server has not confirmed yet, written as "Save/Highscore.hs", so
// that the highscore screen shows the event's table and a record is a record of the event.
// The kiosk's sync and the browser's page both write it.
#pragma once

#include <string>
#include <vector>

#include "SolrindPHighscore.h"

// A round file that waits to be delivered.
struct WaitingRound {
    std::string name;  // sorts as the rounds started
    std::string path;
};

// The round files waiting in the game folder's "Save/Rounds" and in the days the nightly reset
// kept beside it ("Save/Rounds.<date>"), oldest first.
std::vector<WaitingRound> waitingRounds(const std::string& folder);

// The rows as one table: best time first, earlier rows before later ones at equal times, the
// default rows after.
void mergeTable(const std::vector<SolrindPHighscore::Slot>& rows,
                SolrindPHighscore::Slot table[SolrindPHighscore::kSlotCount]);

// Writes the event's table (the server's answer to /api/best) with the folder's waiting
// records into its "Save/Highscore.hs", atomically, and only when it differs. "" when done,
// else why not, one line.
std::string writeEventTable(const std::string& best, const std::string& folder);
