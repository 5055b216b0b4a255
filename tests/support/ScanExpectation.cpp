#include "tests/support/ScanExpectation.h"

#include <numeric>

#include "path/NameRules.h"
#include "scan/FolderRecord.h"

namespace {

const char* const kUnitNames[] = {"bytes", "KB", "MB", "GB"};
const unsigned kUnitShifts[] = {0, 10, 20, 30};

std::string GroupedByThree(std::uint64_t value) {
  std::string digits = std::to_string(value);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

std::uint64_t Sum(const std::vector<std::uint64_t>& sizes) {
  return std::accumulate(sizes.begin(), sizes.end(), std::uint64_t{0});
}

bool IsPrefixSum(const std::vector<std::uint64_t>& sizes, std::uint64_t own) {
  std::uint64_t sum = 0;
  if (own == 0) return true;
  for (const std::uint64_t size : sizes) {
    sum += size;
    if (sum == own) return true;
  }
  return false;
}

struct FoundItem {
  TreeItem item;
  std::size_t parent;
};

// Drive after drive, each breadth first: the order a scan inserted the items.
std::vector<FoundItem> InScanOrder(const TreeView& tree) {
  std::vector<FoundItem> found;
  for (TreeItem drive = tree.GetRootItem(); drive != kNoItem; drive = tree.GetNextSiblingItem(drive)) {
    found.push_back(FoundItem{drive, ExpectedFolder::kNoParent});
    for (std::size_t next = found.size() - 1; next < found.size(); ++next) {
      for (TreeItem child = tree.GetChildItem(found[next].item); child != kNoItem;
           child = tree.GetNextSiblingItem(child)) {
        found.push_back(FoundItem{child, next});
      }
    }
  }
  return found;
}

// One folder of the tree at place index of the scan order: its name and parent, its
// own files (all of them, or for the last folder of a scan cut short the first few),
// and its label.
std::string FolderFault(const ScannedTree& scanned, std::size_t index, const ExpectedFolder& folder,
                        const FoundItem& found, const FolderRecord& record, std::uint64_t childSum,
                        bool mayBeCutShort) {
  const std::string where = "folder " + std::to_string(index) + " ('" + folder.name + "'): ";
  if (record.name != folder.name || found.parent != folder.parent) {
    return where + "found '" + record.name + "' in its place";
  }
  if (record.unreadable != folder.unreadable)
    return where + "unreadable is " + std::to_string(record.unreadable);
  if (record.size < childSum) return where + "its total is smaller than its folders'";
  const std::uint64_t own = record.size - childSum;
  if (mayBeCutShort ? !IsPrefixSum(folder.fileSizes, own) : own != Sum(folder.fileSizes)) {
    return where + "its own files count " + std::to_string(own) + " bytes";
  }
  const std::string label = scanned.labelOf(found.item);
  if (label != ExpectedLabel(folder.name, record.size, scanned.unit))
    return where + "labelled '" + label + "'";
  return {};
}

std::string FindFault(const ScannedTree& scanned, const std::vector<ExpectedFolder>& expected,
                      const std::vector<FoundItem>& found, bool mayBeAborted) {
  if (found.size() > expected.size() || (!mayBeAborted && found.size() != expected.size())) {
    return "the tree holds " + std::to_string(found.size()) + " folders, the machine " +
           std::to_string(expected.size());
  }
  std::vector<std::uint64_t> childSums(found.size(), 0);
  std::vector<const FolderRecord*> records;
  for (const FoundItem& item : found) {
    const FolderRecord* record = scanned.tree.GetItemData(item.item);
    if (record == nullptr) return "an item without a record";
    records.push_back(record);
    if (item.parent != ExpectedFolder::kNoParent) childSums[item.parent] += record->size;
  }
  for (std::size_t i = 0; i < found.size(); ++i) {
    // Only the folder being read when the abort came can be cut short: the last one.
    const bool mayBeCutShort = mayBeAborted && i + 1 == found.size();
    std::string fault =
        FolderFault(scanned, i, expected[i], found[i], *records[i], childSums[i], mayBeCutShort);
    if (fault.empty() && !mayBeAborted && records[i]->size != expected[i].total) {
      fault = "folder " + std::to_string(i) + ": total " + std::to_string(records[i]->size) + ", counted " +
              std::to_string(expected[i].total);
    }
    if (!fault.empty()) return fault;
  }
  return {};
}

}  // namespace

std::vector<ExpectedFolder> ExpectedScanOrder(const MemoryFileSystem& machine) {
  std::vector<ExpectedFolder> order;
  std::vector<std::string> paths;
  for (int bit = 0; bit < 26; ++bit) {
    if ((machine.FixedDriveMask() >> bit & 1u) == 0) continue;
    const std::string drive(1, char('A' + bit));
    order.push_back(ExpectedFolder{drive + ":", ExpectedFolder::kNoParent, false, {}, 0});
    paths.push_back(drive + ":");
    // The drive's folders follow it before the next drive starts.
    for (std::size_t next = order.size() - 1; next < order.size(); ++next) {
      const std::vector<MemoryFileSystem::Entry>* entries = machine.ListingOf(paths[next]);
      order[next].unreadable = entries == nullptr;
      if (entries == nullptr) continue;
      for (const MemoryFileSystem::Entry& entry : *entries) {
        if (!entry.isFolder) {
          order[next].fileSizes.push_back(entry.size);
          continue;
        }
        // Names no path can hold, and '.' and '..', are never entered.
        const char* name = entry.name.c_str();
        if (IsDotOrDotDot(name) || IsDriveDesignator(name) || !IsValidName(name)) continue;
        order.push_back(ExpectedFolder{entry.name, next, false, {}, 0});
        paths.push_back(paths[next] + "\\" + entry.name);
      }
    }
  }
  // Children come after their parents: adding from the back gives every total.
  for (std::size_t i = order.size(); i-- > 0;) {
    order[i].total += Sum(order[i].fileSizes);
    if (order[i].parent != ExpectedFolder::kNoParent) order[order[i].parent].total += order[i].total;
  }
  return order;
}

std::string ExpectedLabel(const std::string& name, std::uint64_t size, int unit) {
  return name + "    (" + GroupedByThree(size >> kUnitShifts[unit]) + " " + kUnitNames[unit] + ")";
}

TreeCheck CheckScannedTree(const ScannedTree& scanned, const std::vector<ExpectedFolder>& expected,
                           bool mayBeAborted) {
  const std::vector<FoundItem> found = InScanOrder(scanned.tree);
  TreeCheck check{FindFault(scanned, expected, found, mayBeAborted), found.size() == expected.size()};
  if (check.complete && !found.empty()) {
    const FolderRecord* last = scanned.tree.GetItemData(found.back().item);
    check.complete = last != nullptr && last->size == expected.back().total;
  }
  return check;
}
