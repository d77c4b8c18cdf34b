// Counts heap allocations made through operator new while a counter is alive on this thread.
#pragma once

class CountAllocations {
  public:
    CountAllocations();
    ~CountAllocations();
    long count() const;

  private:
    long start;
};
