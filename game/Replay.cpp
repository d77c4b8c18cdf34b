#include "Replay.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <memory>

#include "Random.h"

namespace {

constexpr const char* kGateNames[Board::kGateCount] = {"top", "bottom", "left"};

std::string hex32(uint32_t value) {
    char text[9];
    snprintf(text, sizeof text, "%08" PRIx32, value);
    return text;
}

std::string cell(int col, int row) {
    return "(" + std::to_string(col) + "," + std::to_string(row) + ")";
}

// The generator the round's rules draw from while a replay runs; the game's own again after.
class Drawing {
  public:
    explicit Drawing(RandomSource* source) : source(source) { useRandom(source); }
    ~Drawing() { useRandom(nullptr); }

  private:
    std::unique_ptr<RandomSource> source;
};

}  // namespace

std::string Replay::verify(const RoundRecord& record) {
    return play(record, nullptr, nullptr);
}

std::string Replay::tell(const RoundRecord& record, const std::vector<int32_t>& boardsAt) {
    std::string story = "Round " + record.id + ", kiosk " + record.kiosk + ", started " +
                        record.started + "\n" + record.library + "'s rand, seed " +
                        std::to_string(record.seed) + "; the gates at the start:";
    for (int g = 0; g < Board::kGateCount; ++g)
        story += std::string(g ? "," : "") + " " + kGateNames[g] + " " +
                 std::to_string(record.gates[g].frame) + "/4 " +
                 (record.gates[g].opening ? "opening" : "closing");
    story += "\n";
    const std::string why = play(record, &story, &boardsAt);
    return story + (why.empty() ? "verified" : "not verified: " + why) + "\n";
}

std::string Replay::play(const RoundRecord& record, std::string* story,
                         const std::vector<int32_t>* boardsAt) {
    RandomSource* source = newRandom(record.library);
    if (!source)
        return "no replay knows the rand of \"" + record.library + "\"";
    const Drawing drawing(source);
    Board& board = bare.board;
    Round& round = bare.round;
    for (int g = 0; g < Board::kGateCount; ++g) {
        bare.gates[g]->currentFrame = record.gates[g].frame;
        bare.gates[g]->opening = record.gates[g].opening;
    }
    round.start(record.seed);
    const auto showBoard = [&](int32_t frame) {
        if (story && std::find(boardsAt->begin(), boardsAt->end(), frame) != boardsAt->end())
            *story += "after frame " + std::to_string(frame) + " (" + bare.clockText() + "):\n" +
                      bare.boardText();
    };
    showBoard(0);
    const std::vector<RoundMove>& moves = record.moves;
    size_t next = 0;
    bool complete = false;
    for (int32_t frame = 1; frame <= record.frames; ++frame) {
        complete = round.beginFrame();
        if (complete && frame < record.frames)
            return "the board is complete at frame " + std::to_string(frame) +
                   ", yet the round goes on to frame " + std::to_string(record.frames);
        round.swingGates();
        round.countTime();
        const bool still = round.isStill();
        for (size_t first = next; next < moves.size() && moves[next].frame == frame; ++next) {
            const RoundMove& move = moves[next];
            const auto at = [&] {  // made only for a line: a replay makes many moves
                return "move " + std::to_string(next + 1) + " at frame " + std::to_string(frame) +
                       " (" + bare.clockText() + "), " + describe(move.move) + ": ";
            };
            if (next - first > 1 ||
                (next > first && (moves[first].move.kind != BoardMove::kRelease ||
                                  move.move.kind != BoardMove::kPush)))
                return at() + "a frame takes at most a release and then a push";
            if (!still)
                return at() + "a piece is still moving, and the rules take no move then";
            const bool applied = round.play(move.move);
            if (round.lastCheck != move.check)
                return at() + "the round before it is not as recorded (digest " +
                       hex32(round.lastCheck) + ", recorded " + hex32(move.check) + ")";
            if (!applied)  // and the board is as it was
                return at() + "the rules refuse it: " + whyNot(move.move);
            if (story) {
                const bool released = move.move.kind == BoardMove::kRelease;
                const BoardPiece* moved =
                    board.pieceAt(released ? 1 : move.move.col, released ? 0 : move.move.row);
                *story += "frame " + std::to_string(frame) + " (" + bare.clockText() +
                          "): " + describe(move.move) + ", piece " +
                          static_cast<char>('A' + board.indexOf(moved)) + "\n";
            }
        }
        board.slideMoving();
        showBoard(frame);
    }
    if (next < moves.size())
        return "move " + std::to_string(next + 1) + " at frame " +
               std::to_string(moves[next].frame) + " comes after the last frame, " +
               std::to_string(record.frames);
    const std::string last = "at frame " + std::to_string(record.frames);
    if (record.completed && !complete)
        return "the board is not complete " + last + ", where the round is recorded as completed";
    if (!record.completed && complete)
        return "the board is complete " + last + ", yet the round is recorded as given up";
    round.finish(complete);
    const RoundRecord& made = round.record;
    if (made.minutes != record.minutes || made.seconds != record.seconds) {
        char times[64];
        snprintf(times, sizeof times, "%02d:%02d, recorded %02d:%02d", made.minutes, made.seconds,
                 record.minutes, record.seconds);
        return "the clock shows " + std::string(times) + " " + last;
    }
    if (made.end != record.end)
        return "the round at its end is not as recorded (digest " + hex32(made.end) +
               ", recorded " + hex32(record.end) + ")";
    if (story)
        *story += (complete ? "completed in " : "given up at ") + bare.clockText() + ", " + last +
                  (record.record ? "; a record for \"" + record.name + "\"" : "") + "\n";
    return "";
}

std::string Replay::whyNot(const BoardMove& move) const {
    const Board& board = bare.board;
    if (move.kind == BoardMove::kRelease)
        return bare.queue->count() == 0 ? "the queue is empty" : "(1,0) is taken";
    if (!board.pieceAt(move.col, move.row))
        return "no piece stands on " + cell(move.col, move.row);
    const int x = move.col + move.dx;
    const int y = move.row + move.dy;
    if (!board.isPieceFree(x, y))
        return cell(x, y) + " is taken";
    if (board.isInHole(x, y, false))
        return "the gate of the hole " + cell(x, y) + " is not open";
    return cell(x, y) + " is off the board";
}

std::string Replay::describe(const BoardMove& move) {
    if (move.kind == BoardMove::kRelease)
        return "release";
    const char* way = move.dx > 0 ? "right" : move.dx < 0 ? "left" : move.dy > 0 ? "down" : "up";
    return "push " + cell(move.col, move.row) + " " + way;
}
