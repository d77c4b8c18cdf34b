// The print key after a completed round: the hand-over file byte for byte, one start of the
// real print program per press, nothing once another screen is chosen.
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "CountFont.h"
#include "GameInput.h"
#include "ImageBackground.h"
#include "ShellFixture.h"

namespace {

const std::string kHandOver02 = "Cheaters will be punished!\r\n02:05\r\n";

class PrintTest : public ShellFixture {
  protected:
    // The menu as a completed round of 2:05 leaves it: the print key on.
    void afterCompletedRound() {
        load();
        shell.startMenu();
        for (int i = 0; i < 26; ++i)
            shell.menuFrame();
        shell.countFont->giveTime(2, 5);
        shell.gameInput->selected = SolrindPGameShell::kChoiceCompleted;
        shell.menuFrame();
        ASSERT_TRUE(shell.gameInput->buttons[9].enabled);
    }
    static int certificates() {
        int count = 0;
        if (DIR* dir = opendir("Certificates")) {
            while (dirent* entry = readdir(dir))
                count += entry->d_name[0] != '.';
            closedir(dir);
        }
        return count;
    }
    // Waits (a real wait: the program runs on its own) until n certificates exist.
    static bool waitForCertificates(int n) {
        for (int i = 0; i < 200 && certificates() < n; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return certificates() == n;
    }
};

}  // namespace

// Each press of P after a completed round writes the hand-over file and starts the real print
// program once; once another screen is chosen P does nothing.
TEST_F(PrintTest, EachPressWritesTheHandOverFileAndStartsTheProgramOnce) {
    afterCompletedRound();
    Capture out;  // the print program reports where the certificate went
    for (int press = 1; press <= 2; ++press) {
        tap(SDLK_p);
        shell.menuFrame();
        EXPECT_EQ(readFile("Bin/tmp"), kHandOver02);
        EXPECT_TRUE(waitForCertificates(press));
        EXPECT_EQ(shell.gameInput->selected, 99);  // back to the screen in force
    }
    std::string said;  // each start reports where its certificate went when it ends
    for (int i = 0; i < 200 && (said = out.sofar()).find("kept at") == said.rfind("kept at"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    out.finish();
    EXPECT_NE(said.find("the certificate for 02:05 is kept at "), std::string::npos) << said;
    EXPECT_NE(said.find("kept at"), said.rfind("kept at")) << said;
    EXPECT_EQ(certificates(), 2);  // once per press, no more
    unlink("Bin/tmp");
    tap(SDLK_r);
    shell.menuFrame();
    EXPECT_FALSE(shell.gameInput->buttons[9].enabled);
    tap(SDLK_p);
    shell.menuFrame();
    EXPECT_FALSE(fileExists("Bin/tmp"));
}

// The time comes from the clock, whatever the name; a new hand-over file takes the old one's
// place (a print program from an earlier press may still be reading it); when it cannot be
// written, one line says so and nothing is started.
TEST_F(PrintTest, TheHandOverFile) {
    load();
    const std::string earlier = "Cheaters will be punished!\r\n09:09\r\n";
    writeFile("Bin/tmp", earlier);
    FILE* reader = fopen("Bin/tmp", "rb");
    ASSERT_NE(reader, nullptr);
    shell.countFont->giveTime(1, 5);
    unlink("Bin/Printit.exe");
    shell.controlledPrint("somebody");
    char seen[64] = {};
    EXPECT_EQ(fread(seen, 1, sizeof seen, reader), earlier.size());
    fclose(reader);
    EXPECT_EQ(std::string(seen), earlier);
    EXPECT_EQ(readFile("Bin/tmp"), "Cheaters will be punished!\r\n01:05\r\n");
    EXPECT_FALSE(fileExists("Bin/tmp.new"));
    unlink("Bin/tmp");
    rmdir("Bin");
    Capture out;
    shell.menuPrint();
    EXPECT_EQ(out.finish(), "Could not write Bin/tmp: the time is not printed\n");
}

// The program is started without waiting for it and without the game's descriptors, and no
// zombie is left behind; a program that cannot be started is ignored. (In a child process of
// the test, so that the caller is seen to return.)
TEST_F(PrintTest, ProgramRunsOnItsOwnAndLeavesNoZombie) {
    load();
    // It finishes only once the caller has gone on, and lists its open descriptors.
    writeFile("Bin/slow",
              "#!/bin/sh\nfor i in $(seq 200); do [ -e returned ] && break; sleep 0.05; done\n"
              "ls /proc/$$/fd | grep -x -e '[3-9]' -e 1500 >fds; touch finished\n");
    chmod("Bin/slow", 0755);
    fflush(stdout);
    const pid_t caller = fork();
    if (caller == 0) {
        dup2(open("Bin/slow", O_RDONLY), 3);  // descriptors of the game's that must not leak,
        rlimit files = {};                    // also one beyond 1024
        getrlimit(RLIMIT_NOFILE, &files);
        files.rlim_cur = files.rlim_max < 4096 ? files.rlim_max : 4096;
        setrlimit(RLIMIT_NOFILE, &files);
        dup2(3, 1500);
        shell.executeFile("Bin/slow");
        writeFile("returned", std::to_string(getpid()));  // the caller itself went on
        int status = 0;
        _exit(waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD ? 0 : 3);  // no child left
    }
    int status = 0;
    ASSERT_EQ(waitpid(caller, &status, 0), caller);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(readFile("returned"), std::to_string(caller));
    for (int i = 0; i < 200 && !fileExists("finished"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(fileExists("fds"));
    EXPECT_EQ(readFile("fds"), "");            // none of the game's descriptors
    shell.executeFile("Bin/no-such-program");  // not startable: nothing reported
    EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);
}
