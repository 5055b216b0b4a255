#pragma once
// The one source of chance in a storm: everything a sequence does follows from its
// seed, so that a failing sequence can be run again from the seed printed.

#include <cstdint>
#include <random>
#include <vector>

class StormRandom {
 public:
  explicit StormRandom(std::uint64_t seed) : m_engine(seed) {}

  // 0 .. count - 1; a modulo keeps the draws the same with every standard library.
  std::uint64_t Below(std::uint64_t count) { return count == 0 ? 0 : m_engine() % count; }
  bool OneIn(std::uint64_t count) { return Below(count) == 0; }
  template <typename T>
  const T& Pick(const std::vector<T>& choices) {
    return choices[Below(choices.size())];
  }
  std::uint64_t Bits() { return m_engine(); }

 private:
  std::mt19937_64 m_engine;
};
