// solrind-replay: plays rounds back from their files in "Save/Rounds" with the game's own rules
// and the recording C library's generator, without a window and without waiting.
//
// Usage: solrind-replay verify <round file>...
//        solrind-replay show <round file> [frame...]
//        solrind-replay numbers glibc|musl <seed> <count>
//        solrind-replay play [--random] [--seed <n>] [--round-seed <n>] [--id <id>]
//                            [--name <name>] <count> <folder>
//
// verify prints one line per file: verified with how the round ended, or what did not hold;
// status 0 when every round verified, 1 when one did not. show tells a round move by move, with
// the board as text at the start, at the end and after each frame given. numbers prints the
// first numbers a library's rand gives after srand(seed), one a line, to set beside the library's
// own. play lets a bot play rounds (one that completes the puzzle, or one making random legal
// moves) with this machine's rand, and keeps their records in the folder as the game does;
// with a name, its completed rounds are records under that name; --round-seed gives every
// round that seed, --id the first round that id (a round for a seed a server issued).
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Bot.h"
#include "CountFont.h"
#include "Random.h"
#include "Replay.h"
#include "RoundFile.h"
#include "gnFiles.h"

namespace {

constexpr int kUsage = 2;
constexpr int64_t kMaxCount = 100000000;
constexpr int32_t kBotFrames = 25 * 60 * 10;  // a bot gives up after ten minutes of frames

int usage() {
    fprintf(stderr,
            "usage: solrind-replay verify <round file>...\n"
            "       solrind-replay show <round file> [frame...]\n"
            "       solrind-replay numbers glibc|musl <seed> <count>\n"
            "       solrind-replay play [--random] [--seed <n>] [--round-seed <n>] [--id <id>] "
            "[--name <name>] <count> <folder>\n");
    return kUsage;
}

// A whole number from low to high, or -1.
int64_t numberIn(const char* text, int64_t low, int64_t high) {
    char* end = nullptr;
    const long long n = strtoll(text, &end, 10);
    if (end == text || *end || text[0] == '-' || text[0] == '+' || n < low || n > high)
        return -1;
    return n;
}

// A name the table and the font take: up to ten of the font's characters.
bool isName(const char* name) {
    const std::string text = name;
    return text.size() <= 10 &&
           std::all_of(text.begin(), text.end(), [](char c) { return CountFont::hasGlyph(c); });
}

// The round in the file, or false after its line.
bool readRound(const char* file, RoundRecord& record) {
    std::string bytes;
    std::string why;
    if (!gnReadFile(file, roundfile::kMaxBytes, bytes, why) ||
        !roundfile::parse(bytes, record, why)) {
        printf("%s: not a round: %s\n", file, why.c_str());
        return false;
    }
    return true;
}

int verify(int count, char** files) {
    Replay replay;
    int failed = 0;
    for (int i = 0; i < count; ++i) {
        RoundRecord record;
        if (!readRound(files[i], record)) {
            ++failed;
            continue;
        }
        const std::string why = replay.verify(record);
        if (!why.empty()) {
            printf("%s: not verified: %s\n", files[i], why.c_str());
            ++failed;
            continue;
        }
        printf("%s: verified: %s %02d:%02d at frame %d (%s, seed %u)\n", files[i],
               record.completed ? "completed in" : "given up at", record.minutes, record.seconds,
               record.frames, record.library.c_str(), record.seed);
    }
    return failed ? 1 : 0;
}

int show(int count, char** args) {
    RoundRecord record;
    if (!readRound(args[0], record))
        return 1;
    std::vector<int32_t> frames = {0, record.frames};
    for (int i = 1; i < count; ++i) {
        const int64_t frame = numberIn(args[i], 0, record.frames);
        if (frame < 0) {
            fprintf(stderr, "%s: no frame of the round, which has frames 0 to %d\n", args[i],
                    record.frames);
            return kUsage;
        }
        frames.push_back(static_cast<int32_t>(frame));
    }
    Replay replay;
    const std::string story = replay.tell(record, frames);
    fputs(story.c_str(), stdout);
    return story.find("\nverified\n") != std::string::npos ? 0 : 1;
}

int numbers(const char* library, const char* seedText, const char* countText) {
    std::unique_ptr<RandomSource> source(newRandom(library));
    const int64_t seed = numberIn(seedText, 0, UINT32_MAX);
    const int64_t count = numberIn(countText, 0, kMaxCount);
    if (!source || seed < 0 || count < 0)
        return usage();
    source->seed(static_cast<uint32_t>(seed));
    for (int64_t i = 0; i < count; ++i)
        printf("%" PRId32 "\n", source->next());
    return 0;
}

int play(int count, char** args) {
    Bot::Style style = Bot::kPlanned;
    std::string name;
    std::random_device entropy;
    int64_t seed = entropy();
    int64_t roundSeed = -1;  // each round's own, drawn from --seed without it
    std::string id;          // the first round's, as a server issued it with its seed
    int i = 0;
    for (; i + 2 < count; ++i) {
        if (strcmp(args[i], "--random") == 0)
            style = Bot::kRandom;
        else if (strcmp(args[i], "--seed") == 0 && i + 3 < count)
            seed = numberIn(args[++i], 0, UINT32_MAX);
        else if (strcmp(args[i], "--round-seed") == 0 && i + 3 < count &&
                 (roundSeed = numberIn(args[i + 1], 0, Board::kSeedModulus - 1)) >= 0)
            ++i;
        else if (strcmp(args[i], "--id") == 0 && i + 3 < count && strlen(args[i + 1]) == 32 &&
                 strspn(args[i + 1], "0123456789abcdef") == 32)
            id = args[++i];
        else if (strcmp(args[i], "--name") == 0 && i + 3 < count && isName(args[i + 1]))
            name = args[++i];
        else
            return usage();
    }
    const int64_t rounds = i + 2 == count ? numberIn(args[i], 1, kMaxCount) : -1;
    if (rounds < 0 || seed < 0)
        return usage();
    const std::string folder = args[i + 1];
    Bot bot(style, static_cast<uint32_t>(seed));
    std::mt19937 seeds(static_cast<uint32_t>(seed));
    BareRound bare;
    for (int64_t n = 0; n < rounds; ++n) {
        const uint32_t drawn = seeds() % Board::kSeedModulus;
        bot.play(bare, roundSeed >= 0 ? static_cast<uint32_t>(roundSeed) : drawn, kBotFrames);
        RoundRecord& record = bare.round.record;
        roundfile::stamp(record);
        if (n == 0 && !id.empty())
            record.id = id;
        record.record = record.completed && !name.empty();
        record.name = record.record ? name : "";
        if (!roundfile::save(record, folder, UINT64_MAX))
            return 1;
        printf("%s/%s: %s %02d:%02d at frame %d\n", folder.c_str(),
               roundfile::fileName(record).c_str(),
               record.completed ? "completed in" : "given up at", record.minutes, record.seconds,
               record.frames);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "verify" && argc > 2)
        return verify(argc - 2, argv + 2);
    if (command == "show" && argc > 2)
        return show(argc - 2, argv + 2);
    if (command == "play" && argc > 3)
        return play(argc - 2, argv + 2);
    if (command == "numbers" && argc == 5)
        return numbers(argv[2], argv[3], argv[4]);
    return usage();
}
