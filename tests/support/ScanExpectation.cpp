#include "tests/support/ScanExpectation.h"

#include <algorithm>
#include <numeric>
#include <set>

#include "path/NameRules.h"
#include "scan/FolderRecord.h"
#include "scan/TreeWalk.h"

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

// The item and everything below it, breadth first: the order a scan inserted them.
void AddInScanOrder(const TreeView& tree, TreeItem top, std::vector<FoundItem>& found) {
  found.push_back(FoundItem{top, ExpectedFolder::kNoParent});
  for (std::size_t next = found.size() - 1; next < found.size(); ++next) {
    for (TreeItem child = tree.GetChildItem(found[next].item); child != kNoItem;
         child = tree.GetNextSiblingItem(child)) {
      found.push_back(FoundItem{child, next});
    }
  }
}

// Drive after drive, each breadth first.
std::vector<FoundItem> InScanOrder(const TreeView& tree) {
  std::vector<FoundItem> found;
  for (TreeItem drive = tree.GetRootItem(); drive != kNoItem; drive = tree.GetNextSiblingItem(drive))
    AddInScanOrder(tree, drive, found);
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

namespace {

// The folder at path and everything below it, breadth first, as a scan lists them.
void AddExpectedFrom(const MemoryFileSystem& machine, const std::string& path, std::string name,
                     std::vector<ExpectedFolder>& order) {
  std::vector<std::string> paths{path};
  const std::size_t first = order.size();
  order.push_back(ExpectedFolder{std::move(name), ExpectedFolder::kNoParent, false, {}, 0});
  for (std::size_t next = first; next < order.size(); ++next) {
    const std::vector<MemoryFileSystem::Entry>* entries = machine.ListingOf(paths[next - first]);
    order[next].unreadable = entries == nullptr;
    if (entries == nullptr) continue;
    for (const MemoryFileSystem::Entry& entry : *entries) {
      if (!entry.isFolder) {
        order[next].fileSizes.push_back(entry.size);
        continue;
      }
      // Names no path can hold, and '.' and '..', are never entered.
      const char* entered = entry.name.c_str();
      if (IsDotOrDotDot(entered) || IsDriveDesignator(entered) || !IsValidName(entered)) continue;
      order.push_back(ExpectedFolder{entry.name, next, false, {}, 0});
      paths.push_back(paths[next - first] + "\\" + entry.name);
    }
  }
}

// Children come after their parents: adding from the back gives every total.
void AddUpTotals(std::vector<ExpectedFolder>& order) {
  for (std::size_t i = order.size(); i-- > 0;) {
    order[i].total += Sum(order[i].fileSizes);
    if (order[i].parent != ExpectedFolder::kNoParent) order[order[i].parent].total += order[i].total;
  }
}

// The item a machine path names ('C:', 'C:\a\b'), or kNoItem.
TreeItem ItemAtPath(const TreeView& tree, const std::string& path) {
  TreeItem item = kNoItem;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    const std::string name = path.substr(start, end - start);
    TreeItem child = item == kNoItem ? tree.GetRootItem() : tree.GetChildItem(item);
    while (child != kNoItem && tree.GetItemData(child)->name != name) child = tree.GetNextSiblingItem(child);
    if (child == kNoItem || end == path.size()) return child;
    item = child;
    start = end + 1;
  }
}

// Every folder outside the subtree holds its own files and its folders' totals, and
// shows that total.
std::string OutsideFault(const ScannedTree& scanned, const std::vector<FoundItem>& subtree) {
  std::set<TreeItem> inside;
  for (const FoundItem& found : subtree) inside.insert(found.item);
  std::string fault;
  WalkPreOrder(scanned.tree, [&](TreeItem item) {
    if (!fault.empty() || inside.count(item) != 0) return;
    const FolderRecord& record = *scanned.tree.GetItemData(item);
    std::uint64_t total = record.ownFiles;
    for (TreeItem child = scanned.tree.GetChildItem(item); child != kNoItem;
         child = scanned.tree.GetNextSiblingItem(child))
      total += scanned.tree.GetItemData(child)->size;
    const std::string where = std::string("folder '") + record.name + "': ";
    if (record.size != total)
      fault = where + "total " + std::to_string(record.size) + ", its content " + std::to_string(total);
    const std::string label = scanned.labelOf(item);
    if (fault.empty() && label != ExpectedLabel(record.name, record.size, scanned.unit))
      fault = where + "labelled '" + label + "'";
  });
  return fault;
}

}  // namespace

std::vector<ExpectedFolder> ExpectedScanOrder(const MemoryFileSystem& machine) {
  std::vector<ExpectedFolder> order;
  for (int bit = 0; bit < 26; ++bit) {
    if ((machine.FixedDriveMask() >> bit & 1u) == 0) continue;
    const std::string drive = std::string(1, char('A' + bit)) + ":";
    AddExpectedFrom(machine, drive, drive, order);
  }
  AddUpTotals(order);
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

TreeCheck CheckRefreshedTree(const ScannedTree& scanned, const MemoryFileSystem& machine,
                             const std::string& path, bool mayBeAborted) {
  const TreeItem top = ItemAtPath(scanned.tree, path);
  if (top == kNoItem) return TreeCheck{"the folder scanned again, '" + path + "', is not in the tree", false};
  std::vector<ExpectedFolder> expected;
  AddExpectedFrom(machine, path, scanned.tree.GetItemData(top)->name, expected);
  AddUpTotals(expected);
  std::vector<FoundItem> found;
  AddInScanOrder(scanned.tree, top, found);
  std::string fault = FindFault(scanned, expected, found, mayBeAborted);
  if (fault.empty()) fault = OutsideFault(scanned, found);
  return TreeCheck{fault.empty() ? fault : "below '" + path + "': " + fault, false};
}
