#include "Postgres.h"

#include <glob.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
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

constexpr const char* kFolders = "/tmp/solrind-pg-*";

// The clusters of test runs that ended without their teardown (killed on a timeout, crashed):
// each folder names the process that made it; one whose process is gone is stopped and removed.
void sweepOrphans(const std::string& bin) {
    glob_t found = {};
    if (glob(kFolders, 0, nullptr, &found) != 0)
        return;
    for (size_t i = 0; i < found.gl_pathc; ++i) {
        const std::string folder = found.gl_pathv[i];
        const std::string owner = readFile(folder + "/owner");
        const pid_t pid = static_cast<pid_t>(atol(owner.c_str()));
        if (pid <= 0 || ::kill(pid, 0) == 0 || errno != ESRCH)
            continue;  // not one of ours, or its run goes on
        const std::string as = geteuid() == 0 ? "runuser -u nobody -- " : "";
        runCommand(as + bin + "/pg_ctl -D " + folder + "/data -m immediate stop");
        runCommand("rm -rf " + folder);
    }
    globfree(&found);
}

}  // namespace

Postgres::Postgres() : bin(postgresBin()) {
    if (bin.empty()) {
        why = "PostgreSQL's programs are not installed (postgresql)";
        return;
    }
    sweepOrphans(bin);
    char name[] = "/tmp/solrind-pg-XXXXXX";
    if (!mkdtemp(name)) {
        why = "no folder for the cluster";
        return;
    }
    folder = name;
    writeFile(folder + "/owner", std::to_string(getpid()) + "\n");
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
