#include "Files.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string readAll(int file) {
    std::string text;
    char buffer[4096];
    ssize_t n;
    for (off_t at = 0; (n = pread(file, buffer, sizeof buffer, at)) > 0; at += n)
        text.append(buffer, static_cast<size_t>(n));
    return text;
}

}  // namespace

Capture::Capture(int fd) : fd(fd) {
    fflush(nullptr);
    char name[] = "/tmp/solrind-capture-XXXXXX";
    file = mkstemp(name);
    unlink(name);
    saved = dup(fd);
    dup2(file, fd);
}

std::string Capture::finish() {
    if (saved < 0)
        return "";
    fflush(nullptr);
    dup2(saved, fd);
    close(saved);
    saved = -1;
    const std::string text = readAll(file);
    close(file);
    return text;
}

std::string Capture::sofar() const {
    fflush(nullptr);
    return readAll(file);
}

RunResult runCommand(const std::string& commandLine) {
    const std::string dir = makeTempDir("run");
    const int status =
        std::system(("(" + commandLine + ") >" + dir + "/out 2>" + dir + "/err").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(dir + "/out"),
            readFile(dir + "/err")};
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool fileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::string makeTempDir(const std::string& tag) {
    std::string pattern = std::string(SOLRIND_TEST_TMP) + "/" + tag + "-XXXXXX";
    mkdir(SOLRIND_TEST_TMP, 0755);
    if (!mkdtemp(pattern.data()))
        abort();
    return pattern;
}

WorkIn::WorkIn(const std::string& tag) {
    char* cwd = getcwd(nullptr, 0);
    home = cwd;
    free(cwd);
    if (chdir(makeTempDir(tag).c_str()) != 0)
        abort();
}

WorkIn::~WorkIn() {
    if (chdir(home.c_str()) != 0)
        abort();
}

std::string scoreRecord(const std::string& name, int32_t minutes, int32_t seconds) {
    std::string bytes;
    for (size_t k = 0; k < 11; ++k)
        bytes += word((k < name.size() ? name[k] : 0) + 300);
    return bytes + word(minutes) + word(seconds);
}

std::string scoreTable(const std::string& records) {
    std::string bytes = records;
    while (bytes.size() < 520)
        bytes += scoreRecord("solrind", 10, 0);
    return bytes;
}

std::string word(int32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
    return bytes;
}

Lines listFolder(const std::string& path) {
    Lines names;
    std::error_code none;
    for (const auto& entry : std::filesystem::directory_iterator(path, none))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
