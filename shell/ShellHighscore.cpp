// What happens to a completed round's time: the name entry after a record, or the other
// congratulation; and the table drawn on the highscore screen.
#include "CountFont.h"
#include "EnterInput.h"
#include "EventTable.h"
#include "GameInput.h"
#include "GameLayout.h"
#include "SolrindPGameShell.h"
#include "SolrindPHighscore.h"
#include "gnPlatform.h"
#include "gnScreen.h"
#include "gnTime.h"

namespace {

// Where the name is typed, on the screen, and the picture area behind it: eleven glyph cells
// (ten characters and the caret after them).
constexpr layout::Area kField = layout::kNameField;
constexpr pt kNameField = {layout::kContentX + kField.x, kField.y};
constexpr gnRectangle kNameFieldBehind = gnRect(kField.x, kField.y, kField.w, kField.h);
constexpr int kBlinkFrames = 16;  // the caret changes every 16 frames

}  // namespace

void SolrindPGameShell::takeEventTable() {
    const std::string best = gnEventTable();
    if (best.empty())
        return;  // no event, or the kiosk's sync keeps the file
    const std::string why = writeEventTable(best, ".");
    if (why.empty())
        gnFileSaved(SolrindPHighscore::kFileName);
    else
        printf("The event's table is not taken: %s\n", why.c_str());
}

void SolrindPGameShell::checkHighscore() {
    takeEventTable();
    SolrindPHighscore* table = new SolrindPHighscore();  // reads the file
    const int32_t minutes = countFont->getMinutes();
    const int32_t seconds = countFont->getSeconds();
    const int rank = table->isRecord(minutes, seconds);
    if (rank == -1) {
        newBackground(files::kCongratulations2);
        showBackground();
        screen->update();
    } else {
        newBackground(files::kCongratulations1);
        showBackground();
        screen->update();
        const int slot = rank - 1;
        table->enterRecord("", minutes, seconds);
        countFont->textPos = kNameField;
        enterHandler->backgroundImage = backgroundImage;
        enterHandler->eraseRect = kNameFieldBehind;
        enterHandler->keysShown = true;  // the record screen's keyboard, for a finger
        enterHandler->activate();
        enterHandler->show();
        int blink = 0;
        aloneFrom = gnGetTicks();
        while (!enterHandler->finished) {
            if (++blink >= kBlinkFrames) {
                blink = 0;
                enterHandler->caretVisible = !enterHandler->caretVisible;
                enterHandler->show();
            }
            enterHandler->pollEvents();
            if (isLeftAlone())
                pressEscape(enterHandler);  // the name typed so far is kept
            waitFrame();
        }
        enterHandler->backgroundImage = nullptr;
        table->updateSlotName(slot, enterHandler->text);
        round.record.record = true;
        round.record.name = table->getSlotName(slot);
        gameInput->activate();  // the menu takes the input again
    }
    // The round's file before the table's: an event's sync that writes the table in between
    // finds the record among the rounds it has not delivered yet.
    keepRound();
    delete table;  // writes the file
}

void SolrindPGameShell::displayHighscore(SolrindPHighscore* table) {
    for (int i = 0; i < SolrindPHighscore::kSlotCount; ++i) {
        const int32_t y = layout::tableTime(i).y;
        countFont->textPos = pt{layout::kContentX + layout::tableTime(i).x, y};
        countFont->giveTime(table->getSlotMinutes(i), table->getSlotSeconds(i));
        countFont->showTime();  // restores the area behind the time first
        countFont->textPos.x = layout::kContentX + layout::tableName(i).x;
        countFont->drawText(table->getSlotName(i), countFont->textPos);
    }
    screen->update();
}
