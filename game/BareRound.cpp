#include "BareRound.h"

#include <cstdio>

namespace {

constexpr const char* kGateNames[Board::kGateCount] = {"top", "bottom", "left"};

}  // namespace

BareRound::BareRound() {
    queue->setCapacity(Board::kPieceCount);
    for (int i = 0; i < Board::kPieceCount; ++i) {
        pieces[i] = &pieceStore[i];
        pieces[i]->homeCol = (i + 1) % Board::kCells;  // index = row * 5 + column - 1
        pieces[i]->homeRow = (i + 1) / Board::kCells;
    }
    for (int g = 0; g < Board::kGateCount; ++g)
        gates[g] = &gateStore[g];
}

std::string BareRound::clockText() const {
    char text[16];
    snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(clock->getMinutes()),
             static_cast<int>(clock->getSeconds()));
    return text;
}

std::string BareRound::boardText() const {
    std::string text;
    for (int row = 0; row < Board::kCells; ++row) {
        text += " ";
        for (int col = 0; col < Board::kCells; ++col) {
            const BoardPiece* piece = board.pieceAt(col, row);
            if (col == 0 && row == 0) {
                text += " ##";
                continue;
            }
            if (!piece) {
                text += " ..";
                continue;
            }
            const bool home = piece->col == piece->homeCol && piece->row == piece->homeRow;
            text += ' ';
            text += static_cast<char>((home ? 'A' : 'a') + board.indexOf(piece));
            text += piece->dirX > 0   ? '>'
                    : piece->dirX < 0 ? '<'
                    : piece->dirY > 0 ? 'v'
                    : piece->dirY < 0 ? '^'
                                      : ' ';
        }
        text += "\n";
    }
    text += " queued " + std::to_string(queue->count()) + "; gates";
    for (int g = 0; g < Board::kGateCount; ++g)
        text += std::string(g ? "," : "") + " " + kGateNames[g] + " " +
                std::to_string(gates[g]->currentFrame) + "/4";
    return text + "\n";
}
