// The event server's HTTP side: kiosks deliver round files, each verified by its replay before
// it counts; anyone reads the event's tables and numbers. It keeps no state of its own beyond
// its request limits (the database holds the event), so several run behind one balancer.
//
//   POST /api/rounds          a round file; "Authorization: Bearer <kiosk token>"
//                             201 kept, 200 kept before, 400 no round, 401 no such kiosk,
//                             409 another round has its id, 413 too large, 422 not verified,
//                             429 too many requests, 503 no database
//   GET  /api/best            the event's ten best; ?day=YYYY-MM-DD|today, ?kiosk=NAME
//   GET  /api/numbers         a day's rounds per hour, share completed, spread of times
//   GET  /api/kiosks          the kiosks and their rounds
//   POST /api/seeds           a seed for a round on the website, and the round's id
//   POST /api/website/rounds  a website's round: counts when its replay verifies, its seed was
//                             issued under its id and it took its frames' real time since
//   GET  /api/round           ?code=3F2A91B0C4D2[&time=01:22]: the round a certificate names
//   GET  /api/round.svg       the same query: the QR code of that round's page
//   GET  /                    the event's page (its folder's files); /play/ the website's game
//
// Every refused request prints one line saying why.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

struct ServerSettings {
    std::string conninfo;
    double kioskRate = 20;     // rounds a second a kiosk may deliver, on average
    double kioskBurst = 200;   // and at once (a kiosk back on line with a backlog)
    double addressRate = 200;  // requests a second from one address
    double addressBurst = 2000;
    double websiteRate = 2;  // a second from one address: the website's seeds and rounds
    double websiteBurst = 20;
    std::string page;  // the folder of the event's page, served at /; none when empty
    std::string site;  // the folder of the website's game, served at /play/; none when empty
    // The event page's address as phones reach it, for the certificates' QR codes; without it,
    // the address the request came to.
    std::string publicUrl;
};

// Token buckets by key: each holds up to `burst` requests and refills at `rate` a second.
class RateLimit {
  public:
    RateLimit(double rate, double burst) : rate(rate), burst(burst) {}
    bool take(const std::string& key, int64_t nowMs);

  private:
    struct Bucket {
        double tokens;
        int64_t at;
    };
    double rate, burst;
    std::mutex lock;
    std::map<std::string, Bucket> buckets;
};

class EventServer {
  public:
    explicit EventServer(const ServerSettings& settings);
    ~EventServer();

    // Binds to the address (port 0: any free one); the port, or -1.
    int bind(const std::string& host, int port);
    void run();   // serves until stop
    void stop();  // from any thread

  private:
    void deliver(const httplib::Request& request, httplib::Response& response);
    void best(const httplib::Request& request, httplib::Response& response);
    void numbers(const httplib::Request& request, httplib::Response& response);
    void kiosks(const httplib::Request& request, httplib::Response& response);
    void issueSeed(const httplib::Request& request, httplib::Response& response);
    void deliverWebsite(const httplib::Request& request, httplib::Response& response);
    void round(const httplib::Request& request, httplib::Response& response);
    void roundQr(const httplib::Request& request, httplib::Response& response);

    ServerSettings settings;
    std::unique_ptr<httplib::Server> http;
    RateLimit byKiosk, byAddress, byWebsite;
};
