// solrind-server: the event's server. The kiosks deliver their rounds to it, it verifies each
// by its replay and keeps it in PostgreSQL, and it answers the event's tables and numbers.
//
// Usage: solrind-server serve [HOST:PORT]     (127.0.0.1:8080 without it)
//        solrind-server migrate
//        solrind-server kiosk add NAME        prints the kiosk's token, once
//        solrind-server kiosk list
//
// The database: SOLRIND_DB, as libpq reads a connection (without it "dbname=solrind"). The
// event's page: the folder SOLRIND_EVENT_PAGE (without it /usr/share/solrind-server/page).
// The website's game: the folder SOLRIND_WEBSITE (none without it), served at /play/. The
// page's address as phones reach it, for the certificates: SOLRIND_PUBLIC_URL.
// Serving applies the migrations the database lacks first.
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pqxx/pqxx>
#include <string>
#include <thread>
#include <tuple>

#include "EventServer.h"
#include "EventStore.h"

namespace {

constexpr int kUsage = 2;

int usage() {
    fprintf(stderr,
            "usage: solrind-server serve [HOST:PORT]\n"
            "       solrind-server migrate\n"
            "       solrind-server kiosk add NAME | kiosk list\n");
    return kUsage;
}

std::string conninfo() {
    const char* db = getenv("SOLRIND_DB");
    return db && *db ? db : "dbname=solrind";
}

void migrate(EventStore& store) {
    for (const int number : store.migrate())
        printf("solrind-server: the database has migration %d now\n", number);
}

int serve(const std::string& listen) {
    const size_t colon = listen.rfind(':');
    const int port = colon == std::string::npos ? -1 : atoi(listen.c_str() + colon + 1);
    if (port <= 0 || port > 65535)
        return usage();
    const std::string host = listen.substr(0, colon);
    {
        EventStore store(conninfo());
        migrate(store);
    }
    // SIGTERM and SIGINT end the serving from a thread of their own.
    sigset_t ending;
    sigemptyset(&ending);
    sigaddset(&ending, SIGTERM);
    sigaddset(&ending, SIGINT);
    pthread_sigmask(SIG_BLOCK, &ending, nullptr);
    ServerSettings settings;
    settings.conninfo = conninfo();
    // Limits a second, each ten times as many at once: SOLRIND_KIOSK_RATE rounds from one
    // kiosk, SOLRIND_ADDRESS_RATE requests from one address, SOLRIND_WEBSITE_RATE seeds and
    // rounds of the website from one address.
    for (const auto& [name, rate, burst] :
         {std::tuple{"SOLRIND_KIOSK_RATE", &settings.kioskRate, &settings.kioskBurst},
          std::tuple{"SOLRIND_ADDRESS_RATE", &settings.addressRate, &settings.addressBurst},
          std::tuple{"SOLRIND_WEBSITE_RATE", &settings.websiteRate, &settings.websiteBurst}})
        if (const char* text = getenv(name)) {
            char* end = nullptr;
            const double given = strtod(text, &end);
            if (end == text || *end || !(given > 0 && given <= 1e6)) {
                fprintf(stderr, "solrind-server: %s is no number of requests a second\n", name);
                return kUsage;
            }
            *rate = given;
            *burst = 10 * given;
        }
    const char* page = getenv("SOLRIND_EVENT_PAGE");
    settings.page = page && *page ? page : "/usr/share/solrind-server/page";
    const char* site = getenv("SOLRIND_WEBSITE");
    settings.site = site ? site : "";
    const char* publicUrl = getenv("SOLRIND_PUBLIC_URL");
    settings.publicUrl = publicUrl ? publicUrl : "";
    EventServer server(settings);
    if (server.bind(host, port) < 0) {
        fprintf(stderr, "solrind-server: cannot listen on %s: %s\n", listen.c_str(),
                strerror(errno));
        return 1;
    }
    std::thread waiter([&server, ending] {
        int signal = 0;
        sigwait(&ending, &signal);
        server.stop();
    });
    printf("solrind-server: serving on http://%s/\n", listen.c_str());
    fflush(stdout);
    server.run();
    pthread_kill(waiter.native_handle(), SIGTERM);  // when the serving ended otherwise
    waiter.join();
    printf("solrind-server: stopped\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    try {
        if (command == "serve" && argc <= 3)
            return serve(argc == 3 ? argv[2] : "127.0.0.1:8080");
        EventStore store(conninfo());
        if (command == "migrate" && argc == 2) {
            migrate(store);
            return 0;
        }
        if (command == "kiosk" && argc == 4 && strcmp(argv[2], "add") == 0) {
            const std::string token = store.addKiosk(argv[3]);
            if (token.empty()) {
                fprintf(stderr,
                        "solrind-server: %s is taken or no kiosk name (1 to 64 printable "
                        "characters, no space)\n",
                        argv[3]);
                return 1;
            }
            printf("kiosk %s: token %s\n(shown this once; the kiosk's sync keeps it)\n", argv[3],
                   token.c_str());
            return 0;
        }
        if (command == "kiosk" && argc == 3 && strcmp(argv[2], "list") == 0) {
            for (const auto& kiosk : store.kiosks())
                printf("%-20s %lld rounds\n", kiosk["kiosk"].get<std::string>().c_str(),
                       static_cast<long long>(kiosk["rounds"].get<int64_t>()));
            return 0;
        }
    } catch (const pqxx::broken_connection& error) {
        fprintf(stderr, "solrind-server: cannot reach the database (SOLRIND_DB=%s): %s",
                conninfo().c_str(), error.what());
        return 1;
    } catch (const std::exception& error) {
        fprintf(stderr, "solrind-server: %s\n", error.what());
        return 1;
    }
    return usage();
}
