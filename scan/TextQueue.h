#pragma once
// Texts let go in the order they were added: the names and listing patterns
// of a breadth-first walk, which it needs no longer in the order it made
// them. They share large blocks, so that a text costs no allocation of its
// own, and the block let go last is kept for the next.

#include <cstddef>
#include <deque>
#include <memory>
#include <string_view>

class TextQueue {
 public:
  // The parts joined, with a terminator; the text stays where it is until dropped.
  const char* Push(std::string_view first, std::string_view second = {}, std::string_view third = {});
  // Lets go of the texts pushed before oldest, which Push returned, a block at a time.
  void DropBefore(const char* oldest);
  void Clear();

 private:
  struct Block {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    std::size_t used = 0;
    bool Holds(const char* text) const;
  };
  void Retire(Block& block);

  static constexpr std::size_t kBlockBytes = 64 * 1024;
  std::deque<Block> m_blocks;  // texts go to the last
  Block m_spare;
};
