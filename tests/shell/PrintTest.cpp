// The print key: the hand-over file, the real print program on its own; frames; the entry.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "CountFont.h"
#include "GameInput.h"
#include "ShellFixture.h"

namespace {

class PrintTest : public ShellFixture {};

int certificates() {
    std::error_code none;
    return static_cast<int>(
        std::distance(std::filesystem::directory_iterator("Certificates", none), {}));
}

// Waits for what another process makes, with a deadline: true when it came.
bool eventually(const std::function<bool()>& made) {
    for (int i = 0; i < 400 && !made(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    return made();
}

}  // namespace

// Each press of P after a round of 2:05 writes the file and starts the print program once, until
// another screen; a new file replaces the old (still read); one not written is one line.
TEST_F(PrintTest, EachPressWritesTheHandOverFileAndStartsTheProgramOnce) {
    load();
    shell.countFont->giveTime(2, 5);
    shell.round.record.id = std::string(31, 'c') + "1";  // the round just completed
    Capture out;
    playMenu({{"frames", 1}, {"key", SDLK_p}, {"expect file", 0, "Bin/tmp"}});  // not yet on
    shell.gameInput->selected = SolrindPGameShell::kChoiceCompleted;
    // clang-format off
    play({{"key", SDLK_p}, {"frames", 1}, {"key", SDLK_p}, {"frames", 1}, {"key", SDLK_r}, {"frames", 1},
          {"key", SDLK_p}});
    // clang-format on
    for (int i = 0; i < 40 && !scriptDone(); ++i)
        shell.menuFrame();
    EXPECT_EQ(readFile("Bin/tmp"), "Cheaters will be punished!\r\n02:05\r\n");
    EXPECT_EQ(readFile("Bin/round"), std::string(31, 'c') + "1\n");  // the round printed
    EXPECT_EQ(port.handedOver, "Cheaters will be punished!|02:05|" + std::string(31, 'c') + "1");
    EXPECT_TRUE(eventually([] { return certificates() == 2; }));
    EXPECT_TRUE(eventually([&] {
        const std::string said = out.sofar();
        return said.find("kept at") != said.rfind("kept at");
    }));
    EXPECT_THAT(out.finish(), HasSubstr("the certificate for 02:05 is kept at "));
    EXPECT_EQ(certificates(), 2);  // once per press, none after R
    const std::string earlier = readFile("Bin/tmp");
    FILE* reader = fopen("Bin/tmp", "rb");
    shell.countFont->giveTime(1, 5);
    unlink("Bin/Printit.exe");
    shell.controlledPrint("somebody");
    char seen[64] = {};
    EXPECT_EQ(fread(seen, 1, sizeof seen, reader), earlier.size());
    fclose(reader);
    EXPECT_EQ(readFile("Bin/tmp"), "Cheaters will be punished!\r\n01:05\r\n");
    unlink("Bin/tmp");
    unlink("Bin/round");
    rmdir("Bin");
    Capture failed;
    shell.menuPrint();
    EXPECT_EQ(failed.finish(),
              "Could not write Bin/round: the certificate names no round\n"
              "Could not write Bin/tmp: the time is not printed\n");
}

// A buttons picture made before the print control: one line at the start, and P prints as
// ever without lighting anything (the highscore button in particular).
TEST_F(PrintTest, AButtonsPictureWithoutThePrintControlLeavesPrintingToP) {
    unlink("GFX");
    ASSERT_EQ(runCommand("cp -R " SOLRIND_ART_DIR "/GFX . && convert GFX/Menus/Buttons.bmp -crop "
                         "360x371+0+0 +repage -type truecolor BMP3:GFX/Menus/Buttons.bmp")
                  .status,
              0);
    EXPECT_EQ(load(),
              "GFX/Menus/Buttons.bmp has no row for the print control: printing only with P\n");
    playMenu({{"frames", 1}});
    shell.gameInput->selected = SolrindPGameShell::kChoiceCompleted;
    play({{"frames", 27},
          {"key", SDLK_p},
          {"expect file", 1, "Bin/tmp"},
          {"expect button", SolrindPGameShell::kScores, 0}});
    for (int i = 0; i < 40 && !scriptDone(); ++i)
        shell.menuFrame();
    EXPECT_TRUE(scriptDone());
}

// Started without waiting, without the game's descriptors (one beyond 1024 too), no zombie
// left, in a child process so that the caller is seen to return; one that cannot start: ignored.
TEST_F(PrintTest, TheProgramRunsOnItsOwn) {
    writeFile("Bin/slow",
              "#!/bin/sh\nfor i in $(seq 400); do [ -e returned ] && break; sleep 0.025; done\n"
              // the shell's own test, no pipe: a pipe's ends are the shell's own for a moment
              "for fd in 3 4 5 6 7 8 9 1500; do [ -e /proc/$$/fd/$fd ] && echo $fd; done >fds\n"
              "touch finished\n");
    chmod("Bin/slow", 0755);
    fflush(stdout);
    const pid_t caller = fork();
    if (caller == 0) {
        dup2(open("Bin/slow", O_RDONLY), 3);
        rlimit files = {};
        getrlimit(RLIMIT_NOFILE, &files);
        files.rlim_cur = std::min<rlim_t>(files.rlim_max, 4096);
        setrlimit(RLIMIT_NOFILE, &files);
        dup2(3, 1500);
        shell.executeFile("Bin/slow");
        writeFile("returned", "");  // the caller itself went on
        int status = 0;
        _exit(waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD ? 0 : 3);  // no child left
    }
    int status = 0;
    ASSERT_EQ(waitpid(caller, &status, 0), caller);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(eventually([] { return fileExists("finished"); }));
    EXPECT_EQ(readFile("fds"), "");            // none of the game's descriptors
    shell.executeFile("Bin/no-such-program");  // not startable: nothing reported
    EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);
}

// Frames start 40 ms apart, whatever each one's work took below that; a slow frame is not
// followed by a burst; the 49-day wrap.
TEST_F(PrintTest, FramesStartFortyMillisecondsApart) {
    const struct {
        uint32_t deadline;
        std::vector<uint32_t> works, sleeps;
        uint32_t next;
    } cases[] = {
        {0, {5000}, {}, 5040},  // the first call after loading does not sleep
        {900, {1000, 10, 10}, {30, 30}, 1120},
        {0, {0, 55}, {}, 95},
        {0, {0, 5, 5, 5, 5}, {35, 35, 35, 35}, 200},   // cheap frames: 25 a second
        {0, {0, 90, 5, 5}, {35, 35}, 210},             // after a slow frame: no burst
        {0, {0, 40, 39}, {1}, 120},                    // at the deadline to the millisecond
        {0, {0xFFFFFFD0u, 0x40}, {}, 0x38},            // a long frame across the wrap
        {0xFFFFFF00u, {0xFFFFFFF0u, 10}, {30}, 0x40},  // the deadline itself wraps
    };
    for (const auto& c : cases) {
        port.now = 0;
        port.sleeps.clear();
        shell.nextFrameTicks = c.deadline;
        for (uint32_t work : c.works) {
            port.now += work;
            shell.waitFrame();
        }
        EXPECT_EQ(port.sleeps, c.sleeps) << c.works[0];
        EXPECT_EQ(shell.nextFrameTicks, c.next) << c.works[0];
    }
}

// No SDL: status 2; no sound: one line; a missing picture: its line, status 1 (leaks unchecked).
TEST(Entry, FailuresEndTheRunWithTheirLineAndStatus) {
    RunResult run = runCommand("SDL_VIDEODRIVER=no-such-driver " SOLRIND_GAME_BINARY " one two");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out + run.err,
              "no-such-driver not available\n"
              "Couldn't initialize SDL: no-such-driver not available\n");
    // Without sound: one line, then the game plays on silently until it is stopped.
    const std::string out = makeTempDir("silent") + "/out";
    run = runCommand("cd " SOLRIND_ART_DIR
                     " && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=none " SOLRIND_GAME_BINARY " >" +
                     out + " 2>&1 & for i in $(seq 400); do [ -s " + out +
                     " ] && break; sleep 0.05; done; "
                     "kill $!; wait $!");
    EXPECT_EQ(run.status, 1);  // stopped by the signal, as a service manager stops it
    EXPECT_EQ(readFile(out),
              "Couldn't open audio: Audio target 'none' not available\n"
              "Couldn't open audio: Audio target 'none' not available\n");
    for (const char* missing : {"GFX/Menus/GameFont.bmp", "GFX/Screens/Startscreen-01.bmp"}) {
        const std::string folder = makeTempDir("missing");
        runCommand("cp -r " SOLRIND_ART_DIR "/GFX " + folder + "/ && rm " + folder + "/" + missing);
        run = runCommand("cd " + folder +
                         " && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "
                         "ASAN_OPTIONS=detect_leaks=0 " SOLRIND_GAME_BINARY);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out,
                  "Caught exception\nGeneric exception of type: FileLoad raised: "
                  "Couldn't open " +
                      std::string(missing) + "\n");
    }
}
