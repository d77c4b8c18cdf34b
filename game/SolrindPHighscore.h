// The table of the ten best completion times with the players' names, and its file
// "Save/Highscore.hs" (520 bytes: 130 little-endian 32-bit words). Short-lived: constructing
// reads the file, destroying writes the whole table back, replacing the file atomically.
#pragma once

#include <cstddef>
#include <cstdint>

class SolrindPHighscore {
  public:
    static constexpr int kSlotCount = 10;
    static constexpr int kNameMax = 10;  // characters
    static constexpr const char* kFileName = "Save/Highscore.hs";
    static constexpr size_t kFileSize = 520;  // bytes: 130 little-endian 32-bit words

    struct Slot {
        char name[kNameMax + 1];
        int32_t minutes;
        int32_t seconds;
    };

    // Reads the file; without one, or with one that cannot be used, the default table. An
    // unusable file is moved aside ("Save/Highscore.hs.rejected") with one warning line; a
    // directory in its place is reported and then left alone.
    SolrindPHighscore();
    // Writes the table, replacing the file atomically; on failure prints
    // "Error saving Save/Highscore.hs" and the old file stays whole.
    virtual ~SolrindPHighscore();

    // The place (from 1) the time would take, or -1. A time equal to the tenth is no record.
    int isRecord(int32_t minutes, int32_t seconds) const;
    // Inserts the time in order, below equal times; the tenth record drops out.
    void enterRecord(const char* name, int32_t minutes, int32_t seconds);
    void updateSlotName(int slot, const char* name);
    char* getSlotName(int slot) { return slots[slot].name; }
    int32_t getSlotMinutes(int slot) const { return slots[slot].minutes; }
    int32_t getSlotSeconds(int slot) const { return slots[slot].seconds; }

    Slot slots[kSlotCount];  // best time first

    // The file format, shared with the operator's tools. readTable only reads: kUsable with
    // the table in `out`, else the default table in `out` and (but for kMissing) why.
    enum FileState { kUsable, kMissing, kNotAFile, kUnusable };
    static FileState readTable(const char* path, Slot out[kSlotCount], const char** why);
    static void formatTable(const Slot slots[kSlotCount], unsigned char out[kFileSize]);
    static void makeDefaultTable(Slot slots[kSlotCount]);  // ten times "solrind", 10:00

  private:
    bool saveBlocked;  // the file could not be read nor kept aside: saving would destroy it

    void read();
    void write() const;
};
