// Rounds verified a second on one core: a bot's completed rounds (about 2,000 frames and 250
// moves each) and given-up ones of random play, replayed from their records, the file's JSON
// read included.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "Bot.h"
#include "Replay.h"
#include "RoundFile.h"

namespace {

std::vector<std::string> playedRounds(Bot::Style style, int count) {
    Bot bot(style, 1);
    BareRound bare;
    std::vector<std::string> files;
    for (int n = 0; n < count; ++n) {
        bot.play(bare, static_cast<uint32_t>(n * 613 % 10000), 25 * 120);
        RoundRecord& record = bare.round.record;
        record.id = std::string(32, 'a');
        record.kiosk = "bench";
        record.started = "2026-12-07T20:15:03Z";
        files.push_back(roundfile::format(record));
    }
    return files;
}

void verifyRounds(benchmark::State& state, Bot::Style style) {
    const std::vector<std::string> files = playedRounds(style, 64);
    Replay replay;
    size_t next = 0;
    for (auto _ : state) {
        RoundRecord record;
        std::string why;
        if (!roundfile::parse(files[next], record, why) || !replay.verify(record).empty()) {
            state.SkipWithError("a round did not verify");
            break;
        }
        next = (next + 1) % files.size();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));  // rounds a second
}

void BM_VerifyCompletedRound(benchmark::State& state) {
    verifyRounds(state, Bot::kPlanned);
}
void BM_VerifyGivenUpRound(benchmark::State& state) {
    verifyRounds(state, Bot::kRandom);
}
BENCHMARK(BM_VerifyCompletedRound)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VerifyGivenUpRound)->Unit(benchmark::kMicrosecond);

}  // namespace
