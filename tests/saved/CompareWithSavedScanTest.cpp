// Each folder's change against a saved scan, checked against a count of its
// own: two machines, the second the first with folders added, removed, grown,
// shrunk and renamed, each folder's total in both counted from the machines'
// content, and the change every folder of the second scan must show taken
// from the two counts by full path. The saved scan is ours (written and read
// back), or one in ncdu's or gdu's form written here from the first machine.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "path/NameRules.h"
#include "saved/SavedBaseline.h"
#include "saved/SavedScanReader.h"
#include "saved/SavedScanWriter.h"
#include "scan/BaselineMatch.h"
#include "scan/MemoryTree.h"
#include "scan/ScanEngine.h"
#include "scan/SizeLabels.h"
#include "tests/support/AdversarialTrees.h"
#include "tests/support/RandomMachine.h"
#include "tests/support/ScanExpectation.h"
#include "tests/support/StormRandom.h"

namespace {

// The machines' names are the engine's, matched byte for byte.
constexpr PathMatching kEnginePaths{'\\', false};

struct Machine {
  std::string name;
  std::function<std::shared_ptr<MemoryFileSystem>()> make;
};

void PrintTo(const Machine& machine, std::ostream* out) { *out << machine.name; }

std::vector<Machine> Machines() {
  std::vector<Machine> machines;
  for (const AdversarialTree& tree : AdversarialTrees()) {
    machines.push_back(Machine{tree.name, [build = tree.build] {
                                 auto machine = std::make_shared<MemoryFileSystem>();
                                 build(*machine);
                                 return machine;
                               }});
  }
  for (std::uint64_t seed = 1; seed <= 6; ++seed) {
    machines.push_back(Machine{"random" + std::to_string(seed), [seed] {
                                 StormRandom random(seed);
                                 return MakeRandomMachine(random);
                               }});
  }
  return machines;
}

// Every folder's path ('C:\a\b') in scan order.
std::vector<std::string> PathsOf(const std::vector<ExpectedFolder>& folders) {
  std::vector<std::string> paths;
  for (const ExpectedFolder& folder : folders) {
    paths.push_back(folder.parent == ExpectedFolder::kNoParent ? folder.name
                                                               : paths[folder.parent] + "\\" + folder.name);
  }
  return paths;
}

// The first machine with changes drawn at random: a folder goes, is renamed,
// grows by a file, loses its first file or gains a new subfolder. Folders
// go or are renamed seldom below the first levels, so that deep chains stay
// deep.
std::shared_ptr<MemoryFileSystem> Changed(const MemoryFileSystem& before, std::uint64_t seed) {
  StormRandom random(seed);
  auto after = std::make_shared<MemoryFileSystem>();
  const std::vector<ExpectedFolder> folders = ExpectedScanOrder(before);
  const std::vector<std::string> oldPaths = PathsOf(folders);
  std::vector<std::string> newPaths(folders.size());  // empty: gone
  std::vector<std::size_t> depths(folders.size(), 0);
  for (std::size_t i = 0; i < folders.size(); ++i) {
    const ExpectedFolder& folder = folders[i];
    const bool drive = folder.parent == ExpectedFolder::kNoParent;
    if (drive) {
      after->AddDrive(folder.name[0]);
      newPaths[i] = folder.name;
    } else {
      const std::string& parentPath = newPaths[folder.parent];
      depths[i] = depths[folder.parent] + 1;
      const std::uint64_t fate = random.Below(depths[i] <= 3 ? 15 : 1000);
      if (parentPath.empty() || fate == 0) continue;  // removed, with everything below
      newPaths[i] = parentPath + "\\" + folder.name + (fate == 1 ? "~renamed" : "");
      after->AddFolder(newPaths[i]);
    }
    const std::string& path = newPaths[i];
    if (folder.unreadable) {
      after->FailListing(path);
      continue;
    }
    bool skipFirst = random.OneIn(15);  // shrinks
    for (const MemoryFileSystem::Entry& entry : *before.ListingOf(oldPaths[i])) {
      if (entry.isFolder) continue;
      if (!std::exchange(skipFirst, false)) after->AddRawEntry(path, entry);
    }
    if (random.OneIn(15)) after->AddFile(path + "\\grown", 1 + random.Below(1u << 22));
    if (random.OneIn(15)) after->AddFile(path + "\\new folder\\f", random.Below(1u << 22));
  }
  return after;
}

// What each folder of the second machine must show, in scan order, from the
// two counts alone.
std::vector<SizeChange> ExpectedChanges(const MemoryFileSystem& before, const MemoryFileSystem& after) {
  const std::vector<ExpectedFolder> old = ExpectedScanOrder(before);
  const std::vector<std::string> oldPaths = PathsOf(old);
  std::map<std::string, std::uint64_t> oldTotals;
  for (std::size_t i = 0; i < old.size(); ++i) oldTotals.emplace(oldPaths[i], old[i].total);
  const std::vector<ExpectedFolder> now = ExpectedScanOrder(after);
  const std::vector<std::string> nowPaths = PathsOf(now);
  std::vector<SizeChange> changes;
  for (std::size_t i = 0; i < now.size(); ++i) {
    const auto found = oldTotals.find(nowPaths[i]);
    const std::uint64_t total = now[i].total;
    if (found == oldTotals.end()) {
      changes.push_back(SizeChange{ChangeKind::New, total});
    } else if (found->second == kLargestSize || total == kLargestSize) {
      changes.push_back(SizeChange{ChangeKind::Unknown, 0});
    } else if (found->second == total) {
      changes.push_back(SizeChange{ChangeKind::Same, 0});
    } else if (total > found->second) {
      changes.push_back(SizeChange{ChangeKind::Grown, total - found->second});
    } else {
      changes.push_back(SizeChange{ChangeKind::Shrunk, found->second - total});
    }
  }
  return changes;
}

struct Scan {
  explicit Scan(FileSystem& machine) {
    ScanJob job{machine, folders, tree};
    ScanDrives(job);
    AccumulateFolderSizes(tree);
  }
  // The items in scan order: drive after drive, each breadth first.
  std::vector<TreeItem> InScanOrder() const {
    std::vector<TreeItem> items;
    for (TreeItem drive = tree.GetRootItem(); drive != kNoItem; drive = tree.GetNextSiblingItem(drive)) {
      items.push_back(drive);
      for (std::size_t next = items.size() - 1; next < items.size(); ++next) {
        for (TreeItem child = tree.GetChildItem(items[next]); child != kNoItem;
             child = tree.GetNextSiblingItem(child))
          items.push_back(child);
      }
    }
    return items;
  }
  FolderStore folders;
  MemoryTree tree;
};

// A JSON string as ncdu writes one: bytes as they are, but for what JSON
// forbids.
std::string Quoted(const std::string& name) {
  std::string quoted = "\"";
  for (const char c : name) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

enum class PeerFormat { Ncdu, Gdu };

// The drive's folders and files as the peer tool saves them: ncdu gives a
// folder the size of its entry, which a scan never counts; gdu none.
void WritePeerFolder(const MemoryFileSystem& machine, const std::string& path, const std::string& name,
                     PeerFormat format, std::string& out) {
  out += "[{\"name\":" + Quoted(name);
  out += format == PeerFormat::Ncdu ? ",\"asize\":4096,\"dsize\":4096" : ",\"mtime\":1796668428";
  const std::vector<MemoryFileSystem::Entry>* entries = machine.ListingOf(path);
  if (entries == nullptr) out += ",\"read_error\":true";
  out += "}";
  if (entries == nullptr) {
    out += "]";
    return;
  }
  for (const MemoryFileSystem::Entry& entry : *entries) {
    // What no scan enters is not there for the tool either: its names cannot be ours.
    const char* name = entry.name.c_str();
    if (entry.isFolder && (IsDotOrDotDot(name) || IsDriveDesignator(name) || !IsValidName(name))) continue;
    out += ",\n";
    if (entry.isFolder) {
      WritePeerFolder(machine, path + "\\" + entry.name, entry.name, format, out);
    } else {
      out +=
          "{\"name\":" + Quoted(entry.name) + ",\"asize\":" + std::to_string(entry.size) + ",\"dsize\":4096}";
    }
  }
  out += "]";
}

std::string PeerSavedScan(const MemoryFileSystem& machine, const std::string& drive, PeerFormat format) {
  std::string out = format == PeerFormat::Ncdu
                        ? "[1,2,{\"progname\":\"ncdu\",\"progver\":\"1.18\",\"timestamp\":1796668428},\n"
                        : "[1,2,{\"progname\":\"gdu\",\"progver\":\"5.22.0\",\"timestamp\":1796668428},\n";
  WritePeerFolder(machine, drive, drive, format, out);
  return out + "]\n";
}

Baseline Read(const std::string& text) {
  SavedScan scan;
  std::string error;
  MemorySource source(text);
  EXPECT_TRUE(ReadSavedScan(source, "baseline.json", scan, error)) << error;
  return BaselineOf(scan);
}

// One saved scan a drive of the first machine, in each form.
std::vector<std::string> SavedScans(const MemoryFileSystem& before, const std::string& form) {
  std::vector<std::string> files;
  Scan scan(const_cast<MemoryFileSystem&>(before));
  PlainDisplayText plain;
  for (TreeItem drive = scan.tree.GetRootItem(); drive != kNoItem;
       drive = scan.tree.GetNextSiblingItem(drive)) {
    if (form == "ambrell") {
      std::string text;
      WriteSavedScan(scan.tree, drive, plain, 1796668428,
                     [&text](const char* bytes, std::size_t length) { text.append(bytes, length); });
      files.push_back(text);
    } else {
      files.push_back(PeerSavedScan(before, scan.tree.GetItemData(drive)->name,
                                    form == "ncdu" ? PeerFormat::Ncdu : PeerFormat::Gdu));
    }
  }
  return files;
}

std::string Describe(const SizeChange& change) {
  static const char* const kKinds[] = {"none", "new", "unknown", "same", "grown", "shrunk"};
  return std::string(kKinds[static_cast<int>(change.kind)]) + " " + std::to_string(change.bytes);
}

class CompareWithSavedScanTest : public ::testing::TestWithParam<Machine> {};

TEST_P(CompareWithSavedScanTest, EveryFolderShowsTheDifferenceOfItsTwoCountedTotals) {
  const std::shared_ptr<MemoryFileSystem> before = GetParam().make();
  const std::shared_ptr<MemoryFileSystem> after = Changed(*before, 7);
  const std::vector<SizeChange> expected = ExpectedChanges(*before, *after);
  Scan scan(*after);
  const std::vector<TreeItem> items = scan.InScanOrder();
  ASSERT_EQ(items.size(), expected.size());
  PlainDisplayText plain;
  for (const std::string form : {"ambrell", "ncdu", "gdu"}) {
    SCOPED_TRACE(form);
    FolderChanges changes;
    for (const std::string& file : SavedScans(*before, form)) {
      EXPECT_EQ(MatchBaseline(scan.tree, Read(file), plain, kEnginePaths, changes), 1u);
    }
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < items.size() && wrong < 5; ++i) {
      const SizeChange shown = changes.ChangeOf(*scan.tree.GetItemData(items[i]));
      if (Describe(shown) == Describe(expected[i])) continue;
      ++wrong;
      ADD_FAILURE() << "folder " << i << " '" << scan.tree.GetItemData(items[i])->name << "' shows "
                    << Describe(shown) << ", counted " << Describe(expected[i]);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Machines, CompareWithSavedScanTest, ::testing::ValuesIn(Machines()),
                         [](const ::testing::TestParamInfo<Machine>& info) { return info.param.name; });

}  // namespace
