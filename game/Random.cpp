#include "Random.h"

#include <cstdlib>

namespace {

constexpr int kDegree = 31;  // GNU libc's TYPE_3 generator
constexpr int kSeparation = 3;
constexpr int kWarmUp = 10 * kDegree;     // numbers left out after seeding
constexpr int64_t kModulus = 2147483647;  // 2^31 - 1, for seeding
constexpr int64_t kMultiplier = 16807;
constexpr int kRing = kDegree + kSeparation;  // r[k] is kept at k mod 34: r[k-31] and r[k-3]
constexpr uint64_t kMuslMultiplier = 6364136223846793005ull;

CLibraryRandom cLibrary;
thread_local RandomSource* installed = nullptr;  // a replay's, for its thread

}  // namespace

void CLibraryRandom::seed(uint32_t seed) {
    srand(seed);
}

int32_t CLibraryRandom::next() {
    return rand();
}

void GlibcRandom::seed(uint32_t seed) {
    // As glibc's srandom_r: the seed (1 for 0) as a signed word, then each word 16807 times
    // the one before modulo 2^31 - 1, by Schrage's method.
    int64_t word = static_cast<int32_t>(seed == 0 ? 1 : seed);
    uint32_t r[kDegree];
    r[0] = static_cast<uint32_t>(word);
    for (int i = 1; i < kDegree; ++i) {
        const int64_t hi = word / 127773, lo = word % 127773;
        word = kMultiplier * lo - 2836 * hi;
        if (word < 0)
            word += kModulus;
        r[i] = static_cast<uint32_t>(word);
    }
    // r[31..33] are r[0..2]; from r[34] on each is made from two before it.
    for (int i = 0; i < kRing; ++i)
        state[i] = r[i % kDegree];
    at = 0;  // r[34]
    back31 = kRing - kDegree;
    back3 = kRing - kSeparation;
    for (int i = 0; i < kWarmUp; ++i)
        next();
}

int32_t GlibcRandom::next() {
    const uint32_t made = state[back31] + state[back3];
    state[at] = made;
    for (int* index : {&at, &back31, &back3})
        *index = *index + 1 == kRing ? 0 : *index + 1;
    return static_cast<int32_t>(made >> 1);
}

int32_t MuslRandom::next() {
    state = kMuslMultiplier * state + 1;
    return static_cast<int32_t>(state >> 33);
}

const char* thisLibrary() {
#ifdef __GLIBC__
    return "glibc";
#else
    return "musl";  // the browser build's C library
#endif
}

RandomSource* newRandom(const std::string& library) {
    if (library == "glibc")
        return new GlibcRandom();
    if (library == "musl")
        return new MuslRandom();
    return nullptr;
}

RandomSource& gameRandom() {
    return installed ? *installed : cLibrary;
}

void useRandom(RandomSource* source) {
    installed = source;
}
