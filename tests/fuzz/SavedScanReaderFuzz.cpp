// libFuzzer entry point for the saved-scan reader. Whatever the bytes, the
// reader must return (no crash, hang or leak); a file it accepts must save
// and read back as the same tree.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "saved/SavedScanReader.h"
#include "saved/SavedScanWriter.h"
#include "scan/FolderRecord.h"
#include "scan/FolderStore.h"
#include "scan/MemoryTree.h"
#include "scan/SizeLabels.h"
#include "scan/TreeWalk.h"

namespace {

// The drive shows as the folder the file names, as the platforms show it.
class SavedRootDisplay : public DisplayText {
 public:
  explicit SavedRootDisplay(std::string root) : m_root(std::move(root)) {}
  CDynString ForName(const char* name, bool isDrive) const override {
    return CDynString(isDrive ? m_root.c_str() : name, AllocHeap);
  }

 private:
  std::string m_root;
};

// Names, unreadable flags and totals, in tree order; false when the sizes
// reach 2^64 - 1, where a total stands for "this or more" and a second
// reading need not reproduce it bit for bit.
bool Describe(MemoryTree& tree, std::string& text) {
  std::uint64_t sum = 0;
  bool overflowed = false;
  WalkPreOrder(tree, [&](TreeItem item) {
    const std::uint64_t size = tree.GetItemData(item)->size;
    overflowed = overflowed || size >= ~0ull - sum;
    sum += size;
  });
  AccumulateFolderSizes(tree);
  WalkPreOrderWithDepth(tree, -1, [&](TreeItem item, int depth) {
    const FolderRecord* record = tree.GetItemData(item);
    text += std::to_string(depth) + " " + record->name + (record->unreadable ? " ! " : " ") +
            std::to_string(record->size) + "\n";
  });
  return !overflowed;
}

bool ReadInto(std::string_view bytes, FolderStore& folders, MemoryTree& tree, std::string& root) {
  MemorySource source(bytes);
  SavedScan scan;
  std::string error;
  if (!ReadSavedScan(source, "fuzz.json", scan, error)) {
    if (error.compare(0, 10, "fuzz.json:") != 0) std::abort();  // every error says where
    return false;
  }
  root = scan.RootName();
  scan.InsertInto(tree, folders, "C:", PlainDisplayText());
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FolderStore firstFolders;
  MemoryTree first;
  std::string root;
  if (!ReadInto(std::string_view(reinterpret_cast<const char*>(data), size), firstFolders, first, root))
    return 0;
  std::string before;
  const bool exact = Describe(first, before);

  std::string saved;
  WriteSavedScan(first, first.GetRootItem(), SavedRootDisplay(root), 0,
                 [&saved](const char* bytes, std::size_t length) { saved.append(bytes, length); });

  FolderStore secondFolders;
  MemoryTree second;
  std::string rootAgain;
  if (!ReadInto(saved, secondFolders, second, rootAgain) || rootAgain != root)
    std::abort();  // we must read what we write
  std::string after;
  Describe(second, after);
  if (exact && after != before) std::abort();
  return 0;
}
