// solrind-sync: a kiosk in an event. Sends the game folder's round files to the event server,
// removing each only when the server confirmed it, and writes the event's ten best into the
// kiosk's table, every two seconds; without a network it keeps the files and tries again later.
//
// Usage: solrind-sync [--once] [game folder]    (the folder: $SOLRIND_HOME, else
//        /var/lib/solrind); SOLRIND_EVENT_URL (http://host:port) and SOLRIND_EVENT_TOKEN
//        (from solrind-server kiosk add) name the server and the kiosk.
// SIGTERM and SIGINT end it between passes.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "Sync.h"

namespace {

std::string setting(const char* name) {
    const char* value = getenv(name);
    return value ? value : "";
}

}  // namespace

int main(int argc, char** argv) {
    bool once = false;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--once") == 0 && !once)
            once = true;
        else if (argv[i][0] != '-' && folder.empty())
            folder = argv[i];
        else {
            fprintf(stderr, "usage: solrind-sync [--once] [game folder]\n");
            return 2;
        }
    }
    SyncSettings settings;
    settings.folder = !folder.empty()                    ? folder
                      : !setting("SOLRIND_HOME").empty() ? setting("SOLRIND_HOME")
                                                         : "/var/lib/solrind";
    settings.server = setting("SOLRIND_EVENT_URL");
    settings.token = setting("SOLRIND_EVENT_TOKEN");
    if (settings.server.empty() || settings.token.empty()) {
        fprintf(stderr,
                "solrind-sync: no event server: set SOLRIND_EVENT_URL and SOLRIND_EVENT_TOKEN "
                "(a kiosk without them plays on its own)\n");
        return 1;
    }
    setvbuf(stdout, nullptr, _IOLBF, 0);  // a line at a time into the journal
    sigset_t ending;
    sigemptyset(&ending);
    sigaddset(&ending, SIGTERM);
    sigaddset(&ending, SIGINT);
    sigprocmask(SIG_BLOCK, &ending, nullptr);
    Sync sync(settings);
    if (once)
        return sync.pass() == Sync::kPassSeconds ? 0 : 1;
    printf("solrind-sync: %s delivers to %s\n", settings.folder.c_str(), settings.server.c_str());
    for (;;) {
        const timespec wait = {sync.pass(), 0};
        if (sigtimedwait(&ending, nullptr, &wait) > 0)
            break;
    }
    printf("solrind-sync: stopped; %d rounds delivered\n", sync.delivered);
    return 0;
}
