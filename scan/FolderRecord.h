#pragma once
#include <cstdint>

// The item data of every tree item: a folder's leaf name (or 'C:' for a
// drive), the size of the files directly in it, which the scan adds up, and
// its total, which the totals pass computes from those: any number of times,
// always to the same result. Records live in their scan's FolderStore, which
// alone frees them.
struct FolderRecord {
  const char* name = "";           // in the store's name arena, never empty once added
  std::uint64_t ownFiles = 0;      // only ever grows
  std::uint64_t size = 0;          // the total: own files and every folder below
  FolderRecord* parent = nullptr;  // null for a drive
  std::uint32_t place = 0;         // among its parent's subfolders, in the order they were listed
  bool unreadable = false;         // its listing failed: nothing inside it was counted
  bool incomplete = false;         // an abort cut its listing, or its subfolders' listings, short
};

// Sizes stop at the largest value rather than wrap around past 2^64 - 1
// bytes (sparse files can claim that much); a label shows that value as
// "this or more".
constexpr std::uint64_t kLargestSize = ~std::uint64_t{0};
inline void AddSize(std::uint64_t& size, std::uint64_t amount) {
  size = amount > kLargestSize - size ? kLargestSize : size + amount;
}
