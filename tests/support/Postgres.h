// A PostgreSQL cluster of the test's own: initdb in a new folder under /tmp, run as a plain
// user (nobody, when the tests run as root), on a socket in that folder and a free port of
// 127.0.0.1, without fsync. Stopped and removed at the end.
#pragma once

#include <string>

class Postgres {
  public:
    Postgres();   // started when `conninfo` is not empty; else `why` says what failed
    ~Postgres();  // stops it at once and removes its folder

    bool stop();   // a fast shutdown
    void kill();   // the server killed with SIGKILL, as a crash does
    bool start();  // again, on the same port

    std::string conninfo, why;

  private:
    std::string run(const std::string& tool, const std::string& arguments);
    std::string folder, bin;
    int port = 0;
};
