#include "SolrindPHighscore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "CountFont.h"
#include "gnFiles.h"

namespace {

constexpr int kWordsPerSlot = 13;  // ten name characters, a reserved word, minutes, seconds
constexpr size_t kFileSize = SolrindPHighscore::kFileSize;
static_assert(kFileSize == 4 * SolrindPHighscore::kSlotCount * kWordsPerSlot, "130 words");
constexpr int kMinutesWord = 11;
constexpr int kSecondsWord = 12;
constexpr int32_t kCharOffset = 300;  // a name character is stored as its signed value + 300
constexpr const char* kDefaultName = "solrind";
constexpr int32_t kDefaultMinutes = 10;
constexpr const char* kRejectedName = "Save/Highscore.hs.rejected";
constexpr int kRejectedCopiesMax = 100;

// (m1, s1) is better than (m2, s2): fewer minutes, or as many and fewer seconds.
bool isBetter(int32_t m1, int32_t s1, int32_t m2, int32_t s2) {
    return m1 < m2 || (m1 == m2 && s1 < s2);
}

// Copies at most kNameMax characters and zero-fills the rest, so the file bytes are fixed.
void copyName(char* to, const char* from) {
    strncpy(to, from, SolrindPHighscore::kNameMax);
    to[SolrindPHighscore::kNameMax] = '\0';
}

int32_t wordAt(const unsigned char* bytes, int word) {
    const unsigned char* b = bytes + 4 * word;
    return static_cast<int32_t>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                                static_cast<uint32_t>(b[2]) << 16 |
                                static_cast<uint32_t>(b[3]) << 24);
}

void putWord(unsigned char* bytes, int word, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    unsigned char* b = bytes + 4 * word;
    b[0] = static_cast<unsigned char>(v);
    b[1] = static_cast<unsigned char>(v >> 8);
    b[2] = static_cast<unsigned char>(v >> 16);
    b[3] = static_cast<unsigned char>(v >> 24);
}

// Why a table read from the file cannot be used, or null when it can.
const char* flawOf(const SolrindPHighscore::Slot* slots) {
    for (int r = 0; r < SolrindPHighscore::kSlotCount; ++r) {
        for (const char* c = slots[r].name; *c != '\0'; ++c)
            if (!CountFont::hasGlyph(*c))
                return "a name holds a character the font cannot draw";
        if (slots[r].minutes < 0 || slots[r].minutes > 59 || slots[r].seconds < 0 ||
            slots[r].seconds > 59)
            return "a time lies outside 00:00 to 59:59";
    }
    return nullptr;
}

// Reads up to size bytes; the count read, or -1 on a read error.
ssize_t readUpTo(int fd, unsigned char* bytes, size_t size) {
    size_t got = 0;
    while (got < size) {
        const ssize_t n = read(fd, bytes + got, size - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(got);
}

// Moves a rejected table file aside, under the first free name beside it (an existing copy is
// never replaced); that name, or null when it could not be moved.
const char* keepRejected(char* name, size_t nameSize) {
    for (int i = 0; i < kRejectedCopiesMax; ++i) {
        if (i == 0)
            snprintf(name, nameSize, "%s", kRejectedName);
        else
            snprintf(name, nameSize, "%s.%d", kRejectedName, i);
        if (link(SolrindPHighscore::kFileName, name) == 0)
            return unlink(SolrindPHighscore::kFileName) == 0 ? name : nullptr;
        if (errno == EEXIST)
            continue;
        // A file system without hard links (a browser's): renamed, onto a name still free.
        if (errno != EPERM && errno != EMLINK && errno != ENOTSUP && errno != ENOSYS &&
            errno != EXDEV)
            return nullptr;
        if (access(name, F_OK) == 0)
            continue;
        return rename(SolrindPHighscore::kFileName, name) == 0 ? name : nullptr;
    }
    return nullptr;
}

}  // namespace

SolrindPHighscore::SolrindPHighscore() : slots{}, saveBlocked(false) {
    read();
}

SolrindPHighscore::~SolrindPHighscore() {
    write();
}

int SolrindPHighscore::isRecord(int32_t minutes, int32_t seconds) const {
    for (int i = 0; i < kSlotCount; ++i)
        if (isBetter(minutes, seconds, slots[i].minutes, slots[i].seconds))
            return i + 1;
    return -1;
}

void SolrindPHighscore::enterRecord(const char* name, int32_t minutes, int32_t seconds) {
    int i = kSlotCount - 1;
    for (; i >= 0 && isBetter(minutes, seconds, slots[i].minutes, slots[i].seconds); --i)
        if (i < kSlotCount - 1)
            slots[i + 1] = slots[i];
    const int place = i + 1;
    if (place >= kSlotCount)
        return;  // no record: nothing to enter
    copyName(slots[place].name, name);
    slots[place].minutes = minutes;
    slots[place].seconds = seconds;
}

void SolrindPHighscore::updateSlotName(int slot, const char* name) {
    copyName(slots[slot].name, name);
}

void SolrindPHighscore::makeDefaultTable(Slot slots[kSlotCount]) {
    for (int r = 0; r < kSlotCount; ++r) {
        copyName(slots[r].name, kDefaultName);
        slots[r].minutes = kDefaultMinutes;
        slots[r].seconds = 0;
    }
}

SolrindPHighscore::FileState SolrindPHighscore::readTable(const char* path, Slot out[kSlotCount],
                                                          const char** why) {
    makeDefaultTable(out);
    *why = nullptr;
    // Not blocking on a pipe or device in its place; fstat tells what it is.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && (errno == ENOENT || errno == ENOTDIR))
        return kMissing;  // no table yet (or no folder for it: saving will say so)
    struct stat info = {};
    if (fd >= 0 && (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        close(fd);
        *why = S_ISDIR(info.st_mode) ? "it is a directory" : "it is not a regular file";
        return kNotAFile;
    }
    // One byte more than a table tells a longer file (accepted) from an exact one.
    unsigned char bytes[kFileSize + 1];
    const ssize_t size = fd >= 0 ? readUpTo(fd, bytes, sizeof bytes) : -1;
    if (fd >= 0)
        close(fd);
    Slot loaded[kSlotCount];
    if (size < 0) {
        *why = "it cannot be read";
    } else if (size < static_cast<ssize_t>(kFileSize)) {
        *why = "it is shorter than 520 bytes";
    } else {
        for (int r = 0; r < kSlotCount; ++r) {
            // The low 8 bits of (word - 300): a table written by another build reads the same.
            // In 64 bits, since a word near the limits would overflow in 32.
            for (int k = 0; k < kNameMax; ++k) {
                const int64_t c =
                    static_cast<int64_t>(wordAt(bytes, kWordsPerSlot * r + k)) - kCharOffset;
                loaded[r].name[k] = static_cast<char>(static_cast<uint8_t>(c & 0xff));
            }
            loaded[r].name[kNameMax] = '\0';
            loaded[r].minutes = wordAt(bytes, kWordsPerSlot * r + kMinutesWord);
            loaded[r].seconds = wordAt(bytes, kWordsPerSlot * r + kSecondsWord);
        }
        *why = flawOf(loaded);
    }
    if (*why)
        return kUnusable;
    memcpy(out, loaded, sizeof loaded);
    return kUsable;
}

void SolrindPHighscore::formatTable(const Slot slots[kSlotCount], unsigned char out[kFileSize]) {
    for (int r = 0; r < kSlotCount; ++r) {
        bool ended = false;  // positions after the name's end are stored as zero characters
        for (int k = 0; k <= kNameMax; ++k) {
            ended = ended || slots[r].name[k] == '\0';
            const int32_t c = ended ? 0 : static_cast<signed char>(slots[r].name[k]);
            putWord(out, kWordsPerSlot * r + k, c + kCharOffset);
        }
        putWord(out, kWordsPerSlot * r + kMinutesWord, slots[r].minutes);
        putWord(out, kWordsPerSlot * r + kSecondsWord, slots[r].seconds);
    }
}

void SolrindPHighscore::read() {
    const char* why = nullptr;
    switch (readTable(kFileName, slots, &why)) {
        case kUsable:
        case kMissing:  // no table yet
            return;
        case kNotAFile:
            printf("%s cannot be used (%s): the table is neither read nor saved\n", kFileName, why);
            saveBlocked = true;
            return;
        case kUnusable:
            break;
    }
    char copy[64];
    if (keepRejected(copy, sizeof copy)) {
        printf("%s cannot be used (%s): kept as %s, starting a new table\n", kFileName, why, copy);
    } else {
        printf("%s cannot be used (%s) nor kept aside: the table is not saved\n", kFileName, why);
        saveBlocked = true;  // saving would destroy it
    }
}

void SolrindPHighscore::write() const {
    if (saveBlocked)
        return;  // reading said why
    unsigned char bytes[kFileSize];
    formatTable(slots, bytes);
    if (!gnReplaceFile(kFileName, bytes, sizeof bytes))
        printf("Error saving %s\n", kFileName);
}
