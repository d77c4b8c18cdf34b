#include "Postgres.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <random>

#include "Files.h"

namespace {

// The newest PostgreSQL's programs.
std::string postgresBin() {
    const RunResult found =
        runCommand("ls -d /usr/lib/postgresql/*/bin/initdb 2>/dev/null | sort -V | tail -1");
    const std::string initdb = found.out.substr(0, found.out.find('\n'));
    return initdb.empty() ? "" : initdb.substr(0, initdb.rfind('/'));
}

}  // namespace

Postgres::Postgres() : bin(postgresBin()) {
    if (bin.empty()) {
        why = "PostgreSQL's programs are not installed (postgresql)";
        return;
    }
    char name[] = "/tmp/solrind-pg-XXXXXX";
    if (!mkdtemp(name)) {
        why = "no folder for the cluster";
        return;
    }
    folder = name;
    if (geteuid() == 0)
        runCommand("chown nobody " + folder);
    const std::string made = run("initdb", "-D " + folder + "/data -A trust -U solrind --no-sync");
    if (!made.empty()) {
        why = "initdb failed: " + made;
        return;
    }
    std::random_device entropy;
    for (int tries = 0; tries < 20 && conninfo.empty(); ++tries) {
        port = 20000 + static_cast<int>(entropy() % 40000);
        if (start())
            conninfo = "host=" + folder + " port=" + std::to_string(port) +
                       " user=solrind dbname=postgres";
    }
    if (conninfo.empty())
        why = "the cluster did not start: " + readFile(folder + "/log");
}

Postgres::~Postgres() {
    if (!folder.empty()) {
        run("pg_ctl", "-D " + folder + "/data -m immediate stop");
        runCommand("rm -rf " + folder);
    }
}

bool Postgres::stop() {
    return run("pg_ctl", "-D " + folder + "/data -m fast -w stop").empty();
}

void Postgres::kill() {
    const std::string pid = readFile(folder + "/data/postmaster.pid");
    runCommand("kill -9 " + pid.substr(0, pid.find('\n')));
    for (int i = 0; i < 500 && fileExists(folder + "/.s.PGSQL." + std::to_string(port)) &&
                    runCommand("kill -0 " + pid.substr(0, pid.find('\n'))).status == 0;
         ++i)
        usleep(10000);
}

bool Postgres::start() {
    return run("pg_ctl", "-D " + folder + "/data -w -t 60 -l " + folder + "/log -o '-k " + folder +
                             " -p " + std::to_string(port) +
                             " -c listen_addresses=127.0.0.1 -c fsync=off' start")
        .empty();
}

// Runs one of PostgreSQL's programs as the cluster's user; "" when it succeeded, else its lines.
std::string Postgres::run(const std::string& tool, const std::string& arguments) {
    const std::string as = geteuid() == 0 ? "runuser -u nobody -- " : "";
    const RunResult result = runCommand(as + bin + "/" + tool + " " + arguments);
    return result.status == 0
               ? ""
               : result.out + result.err + "(status " + std::to_string(result.status) + ")";
}
