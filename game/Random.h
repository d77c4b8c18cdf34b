// The round's random numbers: the shuffle of the queue and the gates' swings. The game draws
// them from the C library's srand and rand, as the platform has them; a replay draws them from
// an exact copy of the generator of the C library that recorded the round, on any machine.
#pragma once

#include <cstdint>
#include <string>

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual void seed(uint32_t seed) = 0;
    virtual int32_t next() = 0;  // 0 to 2^31 - 1, as rand() gives them
};

// The C library's own srand and rand.
class CLibraryRandom : public RandomSource {
  public:
    void seed(uint32_t seed) override;
    int32_t next() override;
};

// GNU libc's rand: the additive feedback generator of degree 31 (r[i] = r[i-3] + r[i-31]),
// its state made from the seed by 16807 * r mod 2^31 - 1 and 310 numbers left out.
class GlibcRandom : public RandomSource {
  public:
    void seed(uint32_t seed) override;
    int32_t next() override;

  private:
    uint32_t state[34] = {};  // the last 34 numbers made, r[k] at k mod 34
    int at = 0;               // where the next one is made, r[k]
    int back31 = 0;           // where r[k - 31] is
    int back3 = 0;            // and r[k - 3]
};

// musl's rand (the browser build's C library): a 64-bit linear congruential generator.
class MuslRandom : public RandomSource {
  public:
    void seed(uint32_t seed) override { state = seed - 1u; }  // 32-bit: 0 gives 2^32 - 1
    int32_t next() override;

  private:
    uint64_t state = 0;
};

// The name of this build's C library as a round records it: "glibc" or "musl".
const char* thisLibrary();
// A copy of a library's generator by its name; null for another name. Owned by the caller.
RandomSource* newRandom(const std::string& library);

// The source the round's rules draw from: the C library's unless a replay installed another.
RandomSource& gameRandom();
void useRandom(RandomSource* source);  // null: the C library's again
