// Output captured at the descriptor, commands with their output, files in the build's tmp.
#pragma once

#include <gmock/gmock.h>

#include <sstream>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;
using testing::HasSubstr;
using testing::Not;

class Capture {
  public:
    explicit Capture(int fd = 1);
    ~Capture() { finish(); }
    std::string finish();  // stops capturing; everything written since construction
    std::string sofar() const;

  private:
    int fd, saved, file;
};

struct RunResult {
    int status;  // exit status, -1 when ended by a signal
    std::string out, err;
};
RunResult runCommand(const std::string& commandLine);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);
Lines listFolder(const std::string& path);        // the names in it, sorted; none without it
std::string makeTempDir(const std::string& tag);  // new and empty, under the build's tmp

// While it lives the working directory is a new temporary folder; then it is back.
class WorkIn {
  public:
    explicit WorkIn(const std::string& tag);
    ~WorkIn();

  private:
    std::string home;
};
// A little-endian 32-bit word, as the table file stores them; a record's 56 bytes (name
// characters + 300, minutes, seconds); a table file of the records, then default ones.
std::string word(int32_t value);
std::string scoreRecord(const std::string& name, int32_t minutes, int32_t seconds);
std::string scoreTable(const std::string& records);

// The values as text with a space between each: join(1, "x", 2) is "1 x 2".
template <typename... T>
std::string join(const T&... values) {
    std::ostringstream text;
    ((text << values << ' '), ...);
    const std::string joined = text.str();
    return joined.substr(0, joined.size() - 1);
}

// The CUPS server every test names: a socket that does not exist, so nothing is printed.
constexpr const char* kNoPrinters = "/nonexistent/solrind-tests-print-nothing.sock";
constexpr const char* kAllPassed = "solrind tests: every test ran and passed";
