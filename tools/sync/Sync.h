// A kiosk's part in an event: its round files go to the event server, each removed only when
// the server confirmed it, and the event's ten best become the kiosk's table. Without a network
// the files stay and the kiosk plays as ever; passes come again later, further apart each time.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "EventTable.h"

namespace httplib {
class Client;
}

struct SyncSettings {
    std::string server;  // http://host:port
    std::string token;   // the kiosk's, from solrind-server kiosk add
    std::string folder;  // the game folder
};

class Sync {
  public:
    static constexpr int kPassSeconds = 2;    // between passes while all goes well
    static constexpr int kMostSeconds = 300;  // the longest wait after failures

    explicit Sync(const SyncSettings& settings);
    ~Sync();

    // One pass: the waiting rounds delivered, oldest first (from "Save/Rounds" and the days the
    // nightly reset kept beside it), then the event's table written into "Save/Highscore.hs"
    // with the kiosk's records the server has not confirmed yet. The seconds until the next
    // pass. A round the server refuses for good is moved to "Save/Rounds.refused".
    int pass();

    int delivered = 0;  // rounds the server confirmed, over all passes

  private:
    enum Outcome { kDone, kRefused, kLater };
    Outcome deliver(const std::string& path, const std::string& name);
    bool writeTable();
    int failed(const std::string& why);  // a line when the trouble is new; the wait

    SyncSettings settings;
    std::unique_ptr<httplib::Client> client;
    int wait = 0;         // after failures: 1, 2, 4 ... kMostSeconds
    std::string trouble;  // this pass's failure
    std::string said;     // the last failure said in a line
};
