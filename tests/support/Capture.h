// Captures what the code under test writes to standard output or standard error, at the
// file-descriptor level, so printf and fprintf are both seen.
#pragma once

#include <string>

class Capture {
  public:
    explicit Capture(int fd = 1);
    ~Capture();
    // Stops capturing and returns everything written since construction.
    std::string finish();
    // What was written so far, while capturing goes on.
    std::string sofar() const;

  private:
    int fd;
    int saved;
    int file;
};

// Runs a shell command line; returns its exit status, with its standard output and error.
struct RunResult {
    int status;
    std::string out;
    std::string err;
};
RunResult runCommand(const std::string& commandLine);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);
// A new empty directory under the build's temporary area.
std::string makeTempDir(const std::string& tag);

// The CUPS server the tests name: a socket that does not exist, so nothing is ever printed.
constexpr const char* kNoPrinters = "/nonexistent/solrind-tests-print-nothing.sock";
// The last line of a test program whose every test passed.
constexpr const char* kAllPassed = "solrind tests: every test ran and passed";
