#include "Capture.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

Capture::Capture(int fd) : fd(fd) {
    fflush(stdout);
    fflush(stderr);
    char name[] = "/tmp/solrind-capture-XXXXXX";
    file = mkstemp(name);
    unlink(name);
    saved = dup(fd);
    dup2(file, fd);
}

Capture::~Capture() {
    if (saved >= 0)
        finish();
}

std::string Capture::finish() {
    if (saved < 0)
        return "";
    fflush(stdout);
    fflush(stderr);
    dup2(saved, fd);
    close(saved);
    saved = -1;
    std::string text;
    lseek(file, 0, SEEK_SET);
    char buffer[4096];
    ssize_t n;
    while ((n = read(file, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(n));
    close(file);
    return text;
}

std::string Capture::sofar() const {
    fflush(stdout);
    fflush(stderr);
    std::string text;
    char buffer[4096];
    ssize_t n;
    off_t at = 0;
    while ((n = pread(file, buffer, sizeof buffer, at)) > 0) {
        text.append(buffer, static_cast<size_t>(n));
        at += n;
    }
    return text;
}

RunResult runCommand(const std::string& commandLine) {
    const std::string dir = makeTempDir("run");
    const std::string out = dir + "/out";
    const std::string err = dir + "/err";
    const std::string full = "(" + commandLine + ") >" + out + " 2>" + err;
    const int status = std::system(full.c_str());
    RunResult result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(out);
    result.err = readFile(err);
    return result;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool fileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::string makeTempDir(const std::string& tag) {
    std::string pattern = std::string(SOLRIND_TEST_TMP) + "/" + tag + "-XXXXXX";
    mkdir(SOLRIND_TEST_TMP, 0755);
    if (!mkdtemp(pattern.data())) {
        perror("mkdtemp");
        abort();
    }
    return pattern;
}
