// Rounds through the real shell as lists of steps, from the first frame to the print key.
#include "CountFont.h"
#include "GameInput.h"
#include "GameLayout.h"
#include "Gates.h"
#include "Pictures.h"
#include "Replay.h"
#include "RoundFile.h"
#include "ShellFixture.h"
#include "SolrindPHighscore.h"

namespace {

class RoundTest : public ShellFixture {
  protected:
    void SetUp() override {
        ShellFixture::SetUp();
        load();
    }
};

// A round that is completed at once (piece 0 is the only one missing) and its name entry.
Steps completedRound(const Steps& then) {
    Steps steps = {{"key", SDLK_s},  {"until", "round"}, {"gates shut"},
                   {"arrange", "0"}, {"click", 200, 80}, {"until", "name"}};
    steps.insert(steps.end(), then.begin(), then.end());
    return steps;
}

}  // namespace

TEST_F(RoundTest, ARecordRoundFromTheFirstFrameToThePrintKey) {
    // One step of the round a line:
    // clang-format off
    playMenu({
        {"key", SDLK_s}, {"press", 200, 80},  // held from before the round: releases nothing
        {"until", "round"}, {"gates shut"}, {"expect slide", 120}, {"expect lit", 1, 0, 0},
        {"expect board", "...../...../...../...../..... 24"}, {"expect clock", "00|00"},
        {"release", 200, 80}, {"expect clock", "00|01"},
        {"expect updates", "581 492 19 17|562 492 19 17|543 492 19 17|524 492 19 17|"
                           "505 492 19 17|505 492 95 17|150 215 10 90|335 480 90 10|"
                           "335 30 90 10|160 40 440 440"},
        {"frames", 1},
        {"expect updates", "150 215 10 90|335 480 90 10|335 30 90 10|160 40 440 440"},
        {"mark"}, {"frames", 26}, {"expect ms", 1040}, {"expect clock", "00|02"},  // 25 a second
        {"arrange", "5 1 0"}, {"expect board", "...HH/H.HHH/HHHHH/HHHHH/HHHHH 3"},
        {"click", 200, 80}, {"expect board", "..>HH/H.HHH/HHHHH/HHHHH/HHHHH 2"},
        {"click", 200, 80}, {"expect board", "..>HH/H.HHH/HHHHH/HHHHH/HHHHH 2"},  // lost
        {"frames", 1}, {"expect board", "..oHH/H.HHH/HHHHH/HHHHH/HHHHH 2"},  // and not kept
        {"move", 380, 84}, {"expect lit", 1, 2, 0}, {"expect glow", 0, 1, 1},
        {"frames", 4}, {"expect glow", 4, 1, 1}, {"frames", 4}, {"expect glow", 0, 1, 1},
        {"frames", 1}, {"expect glow", -1, 1, 1}, {"expect lit", 1, 2, 0},
        {"drag", 380, 84, -420, 6}, {"expect board", ".<.HH/H.HHH/HHHHH/HHHHH/HHHHH 2"},  // bars
        {"frames", 2}, {"expect board", ".o.HH/H.HHH/HHHHH/HHHHH/HHHHH 2"},
        {"drag", 292, 84, 4, 46}, {"expect board", "...HH/HvHHH/HHHHH/HHHHH/HHHHH 2"},
        {"frames", 2}, {"expect board", "...HH/HHHHH/HHHHH/HHHHH/HHHHH 2"},
        {"click", 200, 80}, {"expect board", "..>HH/HHHHH/HHHHH/HHHHH/HHHHH 1"},
        {"frames", 2}, {"expect board", "..HHH/HHHHH/HHHHH/HHHHH/HHHHH 1"},
        {"tap", 200, 80}, {"expect board", ".HHHH/HHHHH/HHHHH/HHHHH/HHHHH 0"},
        {"frames", 1}, {"expect clock", "00|02"},  // the frame after is still drawn, counted
        {"until", "name"}, {"expect screen", "Backgrounds/Congratulations1"}, {"expect caret", 1},
        {"until", "caret off"}, {"mark"}, {"until", "caret on"}, {"until", "caret off"},
        {"expect ms", 1280},  // every 16 frames of 40 ms
        {"key", SDLK_a}, {"key", SDLK_b}, {"key", SDLK_RETURN},
        {"until", "menu"}, {"expect file", 0, "Bin/tmp"}, {"frames", 1}, {"expect choice", 99},
        {"key", SDLK_p}, {"expect file", 1, "Bin/tmp"}, {"expect button", 9, 2}, {"frames", 24},
        {"expect button", 9, 0}, {"expect prints", 1},  // once for the one press
    });
    // clang-format on
    EXPECT_EQ(std::count(port.sleeps.begin(), port.sleeps.end(), 4000u), 1);
    EXPECT_EQ(readFile("Bin/tmp"), "Cheaters will be punished!\r\n00:02\r\n");
    const std::string bytes = readFile("Save/Highscore.hs");
    EXPECT_EQ(bytes.substr(0, 12), word('a' + 300) + word('b' + 300) + word(300));
    EXPECT_EQ(bytes.substr(44, 12), word(0) + word(2) + word('s' + 300));  // 00:02, then "solrind"
    SolrindPHighscore table;
    EXPECT_EQ(std::string(table.getSlotName(1)) + " " + std::to_string(table.getSlotMinutes(1)),
              "solrind 10");
}

// Ten minutes: no record, the table as it was, the print control lit a second when it prints.
// Q held (repeating) or a quit event ends only the round: the welcome screen slides in again.
// Each gate drawn from its strip of the gates' picture, at its frame, centred where it stands:
// every pixel its own, in every frame of a round in which the gates swing.
TEST_F(RoundTest, TheGatesDrawnFromTheirStrips) {
    SDL_Surface* strips = SDL_LoadBMP(files::kGateBridges);
    ASSERT_NE(strips, nullptr);
    int frames[layout::kGateFrames] = {};  // how often each was seen
    const std::function<void()> next = port.afterPresent;
    port.afterPresent = [&] {
        for (int g = 0; inRound() && g < SolrindPGameShell::kGateCount; ++g) {
            const layout::Area a = layout::kGates[g].first;
            const int shown = shell.gates[g]->currentFrame,
                      left = layout::kGates[g].centreX - a.w / 2;
            const int top = layout::kGates[g].centreY - a.h / 2;
            int unlike = 0;
            for (int y = 0; y < a.h; ++y)
                for (int x = 0; x < a.w; ++x)
                    unlike +=
                        at(left + x, top + y) != pixelAt(strips, a.x + a.w * shown + x, a.y + y);
            EXPECT_EQ(unlike, 0) << "gate " << g << " at frame " << shown;
            ++frames[shown];
        }
        next();
    };
    playMenu({{"key", SDLK_s}, {"until", "round"}, {"frames", 200}, {"quit"}, {"until", "menu"}});
    port.afterPresent = next;
    SDL_FreeSurface(strips);
    EXPECT_GT(frames[0] * frames[layout::kGateFrames - 1], 0);  // shut and open among them
}

TEST_F(RoundTest, RoundsWithoutARecord) {
    { SolrindPHighscore table; }
    const std::string before = readFile("Save/Highscore.hs");
    // clang-format off
    playMenu({{"key", SDLK_s}, {"until", "round"}, {"set clock", 10, 0}, {"arrange", "0"}, {"click", 200, 80},
              {"until", "menu"}, {"expect screen", "Backgrounds/Congratulations2"}, {"expect clock", "10|00"},
              {"frames", 1}, {"expect choice", 99}, {"expect button", 9, 0}, {"expect file", 0, "Bin/tmp"},
              {"tap", 568, 38}, {"expect file", 1, "Bin/tmp"}, {"expect button", 9, 2},  // printed
              {"frames", 23}, {"expect button", 9, 2}, {"frames", 1}, {"expect button", 9, 1},  // under the finger
              {"key", SDLK_s}, {"until", "round"}, {"hold", SDLK_q}, {"frames", 25}, {"let go"},
              {"until", "menu"}, {"expect choice", 0}, {"expect screen", "Backgrounds/Welcome"},
              {"key", SDLK_s}, {"until", "round"}, {"quit"}, {"until", "menu"}, {"frames", 1},
              {"expect choice", 0}, {"expect slide", 620}});
    // clang-format on
    EXPECT_EQ(readFile("Save/Highscore.hs"), before);
    EXPECT_FALSE(shell.gameInput->done);
}

// A finger's drag as SDL queues it (the finger up when handled): over two frames with the lift
// in the second, and a flick within one frame, each slides its piece.
TEST_F(RoundTest, AFingerDragSlidesItsPiece) {
    // clang-format off
    playMenu({{"key", SDLK_s}, {"until", "round"}, {"gates shut"}, {"arrange", "5 1 0"},
              {"tap", 200, 80}, {"expect board", "..>HH/H.HHH/HHHHH/HHHHH/HHHHH 2"},
              {"frames", 2}, {"expect board", "..oHH/H.HHH/HHHHH/HHHHH/HHHHH 2"},
              {"finger down", 380, 84}, {"expect board", "..oHH/H.HHH/HHHHH/HHHHH/HHHHH 2"},
              {"finger up", 330, 90}, {"expect board", ".<.HH/H.HHH/HHHHH/HHHHH/HHHHH 2"},
              {"frames", 2}, {"tap", 292, 84, 4, 46}, {"expect board", "...HH/HvHHH/HHHHH/HHHHH/HHHHH 2"},
              {"frames", 2}, {"expect board", "...HH/HHHHH/HHHHH/HHHHH/HHHHH 2"},
              {"press", 2147483647, 84}, {"release", -2147483647 - 1, -2147483647 - 1},  // far off
              {"expect board", "...HH/HHHHH/HHHHH/HHHHH/HHHHH 2"}, {"quit"}, {"until", "menu"}});
    // clang-format on
}

// The keys drawn on the record screen type as a keyboard's do: a, ø, 7, ⌫, ←, z, then OK; the
// name reaches the table file.
TEST_F(RoundTest, TheRecordScreensKeysTypeTheName) {
    const auto key = [](int row, int column) {
        return Step("tap", 162 + 40 * column + 18, 356 + 34 * row + 15);
    };
    // clang-format off
    playMenu(completedRound({key(2, 0), key(2, 9), key(0, 6), key(0, 10), key(3, 8), key(3, 0),
                             {"tap", 159, 400}, key(3, 10), {"until", "menu"}}));  // between keys
    // clang-format on
    EXPECT_EQ(readFile("Save/Highscore.hs").substr(0, 16),
              word('a' + 300) + word('z' + 300) + word('}' + 300) + word(300));
}

TEST_F(RoundTest, TheNameEntryEndsWithEscapeOrAQuit) {
    playMenu(completedRound({{"key", SDLK_ESCAPE}, {"until", "menu"}}));
    EXPECT_STREQ(SolrindPHighscore().getSlotName(0), "");
    playMenu(completedRound({{"key", SDLK_z}, {"quit"}, {"until", "menu"}}));
    EXPECT_FALSE(shell.gameInput->done);
    SolrindPHighscore table;
    EXPECT_EQ(
        std::string(table.getSlotName(0)) + "," + table.getSlotName(1) + "," + table.getSlotName(2),
        ",z,solrind");  // the second 00:01 below the first
}

// A player's round through the real input, from its seed to the name in the table: its record
// verifies, with the name and the time the table holds. Given up, a round is kept too.
TEST_F(RoundTest, ARoundPlayedToItsEndIsKeptAndVerifies) {
    frameBudget = 6000;
    playMenu({{"key", SDLK_s},
              {"until", "round"},
              {"bot"},
              {"until", "name"},
              {"key", SDLK_a},
              {"key", SDLK_RETURN},
              {"until", "menu"},
              {"frames", 1},
              {"key", SDLK_s},
              {"until", "round"},
              {"frames", 30},
              {"key", SDLK_ESCAPE},
              {"until", "menu"}});
    const Lines names = listFolder("Save/Rounds");
    ASSERT_EQ(names.size(), 2u);
    RoundRecord played, givenUp;
    std::string why;
    ASSERT_TRUE(roundfile::parse(readFile("Save/Rounds/" + names[0]), played, why)) << why;
    ASSERT_TRUE(roundfile::parse(readFile("Save/Rounds/" + names[1]), givenUp, why)) << why;
    if (givenUp.completed)
        std::swap(played, givenUp);  // both started within the same second
    EXPECT_EQ(join(played.completed, played.record, played.name, played.library), "1 1 a glibc");
    EXPECT_EQ(readFile("Save/Highscore.hs").substr(0, 52),
              scoreRecord("a", played.minutes, played.seconds).substr(0, 52));
    EXPECT_GT(played.moves.size(), 100u);
    EXPECT_EQ(join(givenUp.completed, givenUp.record, givenUp.frames), "0 0 32");
    EXPECT_EQ(Replay().verify(played), "");
}
