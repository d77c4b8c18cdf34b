#include "Allocations.h"

#include <cstdlib>
#include <new>

namespace {

thread_local long allocations = 0;
thread_local int counters = 0;

}  // namespace

CountAllocations::CountAllocations() : start(allocations) {
    ++counters;
}
CountAllocations::~CountAllocations() {
    --counters;
}
long CountAllocations::count() const {
    return allocations - start;
}

void* operator new(size_t size) {
    if (counters > 0)
        ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void* operator new[](size_t size) {
    return operator new(size);
}

void* operator new(size_t size, const std::nothrow_t&) noexcept {
    if (counters > 0)
        ++allocations;
    return std::malloc(size ? size : 1);
}

void* operator new[](size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}

void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, size_t) noexcept {
    std::free(p);
}
