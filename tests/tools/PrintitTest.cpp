// The print program: reads the hand-over file, makes the certificate as a PDF, says where it
// went; refuses anything but a time of two digits, a colon and two digits.
#include <gtest/gtest.h>
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
