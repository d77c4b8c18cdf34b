// The print program: reads the hand-over file, makes the certificate, says where it went.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <regex>

#include "Capture.h"

namespace {

class PrintitTest : public testing::Test {
  protected:
    void SetUp() override {
        folder = makeTempDir("printit");
        runCommand("mkdir -p " + folder + "/Bin");
    }
    RunResult print() {
        return runCommand("cd " + folder + " && ASAN_OPTIONS=detect_leaks=0 " SOLRIND_PRINTIT);
    }
    std::string folder;
};

}  // namespace

TEST_F(PrintitTest, CertificateShowsTheTimeAndIsKeptWithoutAPrinter) {
    writeFile(folder + "/Bin/tmp", "Cheaters will be punished!\r\n02:05\r\n");
    const RunResult run = print();
    EXPECT_EQ(run.status, 0) << run.out;
    std::smatch where;
    const std::regex said(
        "Printit: no printer is configured; the certificate for 02:05 is kept "
        "at (/.*/Certificates/solrind-02-05-[0-9]{8}-[0-9]{6}-[0-9]+\\.pdf)\n");
    ASSERT_TRUE(std::regex_match(run.out, where, said)) << run.out;
    const std::string pdf = where[1];
    EXPECT_EQ(readFile(pdf).substr(0, 5), "%PDF-");
    const RunResult text = runCommand("pdftotext " + pdf + " -");
    EXPECT_NE(text.out.find("02:05"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("2 minutes and 5 seconds"), std::string::npos);
    EXPECT_NE(text.out.find("Cheaters will be punished!"), std::string::npos);
    EXPECT_NE(text.out.find("Show this certificate at the Solrind stand"), std::string::npos);
}

TEST_F(PrintitTest, LineFeedsAloneAndOneMinuteReadWell) {
    writeFile(folder + "/Bin/tmp", "Cheaters will be punished!\n01:01\n");
    const RunResult run = print();
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("for 01:01"), std::string::npos);
}

TEST_F(PrintitTest, WithoutATimeNothingIsMade) {
    for (const char* bad :
         {"Cheaters will be punished!\r\n99:99\r\n", "Cheaters\r\n", "x\r\n2:05\r\n",
          "x\r\n02:05 and more\r\n", "x\r\n+1:23\r\n", "x\r\n 1:23\r\n", "x\r\n-0:05\r\n",
          "x\r\n01:+5\r\n", "x\r\n01:60\r\n"}) {
        writeFile(folder + "/Bin/tmp", bad);
        const RunResult run = print();
        EXPECT_EQ(run.status, 1) << bad;
        EXPECT_EQ(run.out, "Printit: Bin/tmp holds no time of the form MM:SS\n") << bad;
    }
    EXPECT_FALSE(fileExists(folder + "/Certificates"));
    runCommand("rm " + folder + "/Bin/tmp");
    const RunResult missing = print();
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "Printit: cannot read Bin/tmp: No such file or directory\n");
}

// A machine whose CUPS client setup names a server with printers (here a listening socket that
// stands in for it): the tests' print program never contacts it, so it cannot print on paper.
TEST_F(PrintitTest, TestsNeverReachThisMachinesPrinters) {
    // Socket paths are short (108 bytes): this one does not depend on the checkout's path.
    char socketDir[] = "/tmp/solrind-cups-XXXXXX";
    ASSERT_NE(mkdtemp(socketDir), nullptr);
    const std::string server = std::string(socketDir) + "/cups.sock";
    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    ASSERT_LT(server.size(), sizeof address.sun_path);
    memcpy(address.sun_path, server.c_str(), server.size() + 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 8), 0);
    runCommand("mkdir -p " + folder + "/home/.cups");
    writeFile(folder + "/home/.cups/client.conf", "ServerName " + server + "\n");
    writeFile(folder + "/Bin/tmp", "Cheaters will be punished!\r\n02:05\r\n");
    const RunResult run = runCommand("cd " + folder + " && HOME=" + folder +
                                     "/home ASAN_OPTIONS=detect_leaks=0 " SOLRIND_PRINTIT);
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("no printer is configured"), std::string::npos) << run.out;
    EXPECT_LT(accept(listener, nullptr, nullptr), 0) << "the print program asked the server";
    close(listener);
    unlink(server.c_str());
    rmdir(socketDir);
}
