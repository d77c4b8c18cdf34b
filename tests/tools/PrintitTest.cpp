// The print program: reads the hand-over file, makes the certificate as a PDF, says where it
// went; refuses anything but a time of two digits, a colon and two digits; and, under the
// tests, never reaches a printer of this machine.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <regex>

#include "Files.h"

namespace {

RunResult print(const std::string& folder, const std::string& handOver,
                const std::string& env = "") {
    writeFile(folder + "/Bin/tmp", handOver);
    return runCommand("cd " + folder + " && " + env +
                      " ASAN_OPTIONS=detect_leaks=0 " SOLRIND_PRINTIT);
}

}  // namespace

TEST(Printit, TheCertificateShowsTheTimeAndIsKept) {
    const std::string folder = makeTempDir("printit");
    runCommand("mkdir " + folder + "/Bin");
    for (const char* bad : {"x\r\n99:99\r\n", "Cheaters\r\n", "x\r\n2:05\r\n",
                            "x\r\n02:05 and more\r\n", "x\r\n+1:23\r\n", "x\r\n 1:23\r\n",
                            "x\r\n-0:05\r\n", "x\r\n01:+5\r\n", "x\r\n01:60\r\n"}) {
        const RunResult run = print(folder, bad);
        EXPECT_EQ(run.status * 1000 + fileExists(folder + "/Certificates"), 1000) << bad;
        EXPECT_EQ(run.out, "Printit: Bin/tmp holds no time of the form MM:SS\n") << bad;
    }
    RunResult run = print(folder, "Cheaters will be punished!\n01:01\n");  // line feeds alone
    EXPECT_NE(run.out.find("for 01:01"), std::string::npos);
    run = print(folder, "Cheaters will be punished!\r\n02:05\r\n");
    EXPECT_EQ(run.status, 0) << run.out;
    std::smatch where;
    ASSERT_TRUE(std::regex_match(
        run.out, where,
        std::regex("Printit: no printer is configured; the certificate for 02:05 is kept "
                   "at (/.*/Certificates/solrind-02-05-[0-9]{8}-[0-9]{6}-[0-9]+\\.pdf)\n")))
        << run.out;
    const std::string text = runCommand("pdftotext " + where[1].str() + " -").out;
    for (const char* line : {"02:05", "2 minutes and 5 seconds", "Cheaters will be punished!",
                             "Show this certificate at the Solrind stand"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in " << text;
    unlink((folder + "/Bin/tmp").c_str());
    run = runCommand("cd " + folder + " && ASAN_OPTIONS=detect_leaks=0 " SOLRIND_PRINTIT);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Printit: cannot read Bin/tmp: No such file or directory\n");
}

// A machine whose CUPS client setup names a server with printers (a listening socket stands
// in for it): the tests' print program never contacts it.
TEST(Printit, TestsNeverReachThisMachinesPrinters) {
    char socketDir[] = "/tmp/solrind-cups-XXXXXX";  // socket paths are short: not the checkout's
    ASSERT_NE(mkdtemp(socketDir), nullptr);
    const std::string server = std::string(socketDir) + "/cups.sock";
    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    memcpy(address.sun_path, server.c_str(), server.size() + 1);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 8), 0);
    const std::string folder = makeTempDir("printit");
    runCommand("mkdir -p " + folder + "/home/.cups " + folder + "/Bin");
    writeFile(folder + "/home/.cups/client.conf", "ServerName " + server + "\n");
    const RunResult run = print(folder, "x\r\n02:05\r\n", "HOME=" + folder + "/home");
    EXPECT_NE(run.out.find("no printer is configured"), std::string::npos) << run.out;
    EXPECT_LT(accept(listener, nullptr, nullptr), 0) << "the print program asked the server";
    close(listener);
    unlink(server.c_str());
    rmdir(socketDir);
}
