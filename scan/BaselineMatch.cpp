#include "scan/BaselineMatch.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "scan/FolderRecord.h"

namespace {

constexpr std::size_t kNotThere = Baseline::kNoParent;

// A baseline folder found from its parent and its name's matching key.
class BaselineChildren {
 public:
  BaselineChildren(const Baseline& baseline, PathMatching rule) : m_rule(rule) {
    if (rule.ignoreCase) {
      m_keys.reserve(baseline.FolderCount());
      for (std::size_t i = 0; i < baseline.FolderCount(); ++i)
        m_keys.push_back(MatchingKey(baseline.NameOf(i), rule));
    }
    m_children.reserve(baseline.FolderCount());
    for (std::size_t i = 1; i < baseline.FolderCount(); ++i) {
      // A name listed twice in one folder matches its first folder.
      m_children.emplace(Key{baseline.ParentOf(i), KeyOf(baseline, i)}, i);
    }
  }

  // kNotThere when parent is, or when it has no such folder.
  std::size_t Find(std::size_t parent, std::string_view name) {
    if (parent == kNotThere) return kNotThere;
    std::string_view key = name;
    if (m_rule.ignoreCase) {
      m_lookup = MatchingKey(name, m_rule);
      key = m_lookup;
    }
    const auto found = m_children.find(Key{parent, key});
    return found == m_children.end() ? kNotThere : found->second;
  }

 private:
  struct Key {
    std::size_t parent;
    std::string_view name;
    bool operator==(const Key& other) const { return parent == other.parent && name == other.name; }
  };
  struct KeyHash {
    std::size_t operator()(const Key& key) const {
      return std::hash<std::string_view>()(key.name) ^ (key.parent * 0x9E3779B97F4A7C15ull);
    }
  };

  std::string_view KeyOf(const Baseline& baseline, std::size_t folder) const {
    return m_rule.ignoreCase ? std::string_view(m_keys[folder]) : baseline.NameOf(folder);
  }

  PathMatching m_rule;
  std::vector<std::string> m_keys;  // folded names, when case is ignored
  std::unordered_map<Key, std::size_t, KeyHash> m_children;
  std::string m_lookup;
};

// A folder of the tree and the baseline folder it is (kNotThere: it lies
// below the baseline's folder but was not there).
struct Anchor {
  TreeItem item;
  std::size_t folder;
};

class Matcher {
 public:
  Matcher(const TreeView& tree, const Baseline& baseline, const DisplayText& display, PathMatching rule,
          FolderChanges& changes)
      : m_tree(tree),
        m_baseline(baseline),
        m_display(display),
        m_rule(rule),
        m_changes(changes),
        m_children(baseline, rule) {}

  // The saved folder is sought in the drive nearest to it: with drives '/'
  // and '/home', a saved '/home/alice' is the second's, never the empty
  // mount point 'home' of the first. Drives inside the saved folder each
  // match their own folder of it.
  std::size_t Run() {
    const std::string root = NormalPath(m_baseline.RootPath(), m_rule.separator);
    if (root.empty()) return 0;  // a file may name its folder so: it is no folder here
    std::vector<Anchor> anchors;
    Anchor nearest{kNoItem, 0};
    std::size_t nearestLength = 0;
    bool haveNearest = false;
    for (TreeItem drive = m_tree.GetRootItem(); drive != kNoItem; drive = m_tree.GetNextSiblingItem(drive)) {
      const std::string drivePath = NormalPath(NameOf(drive, true), m_rule.separator);
      std::vector<std::string> names;
      if (NamesBelow(drivePath, root, m_rule, names)) {
        if (haveNearest && drivePath.size() <= nearestLength) continue;
        nearest = Anchor{DescendTree(drive, names), 0};  // kNoItem: the folder is not there
        nearestLength = drivePath.size();
        haveNearest = true;
      } else if (NamesBelow(root, drivePath, m_rule, names)) {
        anchors.push_back(Anchor{drive, DescendBaseline(names)});
      }
    }
    if (nearest.item != kNoItem) anchors.push_back(nearest);
    for (const Anchor& anchor : anchors) NoteSubtree(anchor);
    return anchors.size();
  }

 private:
  const std::string& NameOf(TreeItem item, bool isDrive) {
    m_name.clear();
    m_display.AppendName(m_tree.GetItemData(item)->name, isDrive, m_name);
    return m_name;
  }

  std::size_t DescendBaseline(const std::vector<std::string>& names) {
    std::size_t folder = 0;
    for (const std::string& name : names) folder = m_children.Find(folder, name);
    return folder;
  }

  TreeItem DescendTree(TreeItem item, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
      const std::string key = MatchingKey(name, m_rule);
      TreeItem child = m_tree.GetChildItem(item);
      while (child != kNoItem && MatchingKey(NameOf(child, false), m_rule) != key) {
        child = m_tree.GetNextSiblingItem(child);
      }
      if (child == kNoItem) return kNoItem;
      item = child;
    }
    return item;
  }

  void Note(TreeItem item, std::size_t folder) {
    const FolderRecord& record = *m_tree.GetItemData(item);
    if (folder == kNotThere) {
      m_changes.SetNew(record);
    } else {
      m_changes.SetMatched(record, m_baseline.TotalOf(folder));
    }
  }

  // Pre-order through the anchor's subtree, by child, sibling and parent,
  // with the baseline folder of each level it is in kept on the heap.
  void NoteSubtree(const Anchor& anchor) {
    std::vector<std::size_t> folderAt{anchor.folder};  // by depth below the anchor
    Note(anchor.item, anchor.folder);
    TreeItem item = anchor.item;
    std::size_t depth = 0;
    for (;;) {
      TreeItem next = m_tree.GetChildItem(item);
      if (next != kNoItem) {
        ++depth;
      } else {
        while (depth > 0 && (next = m_tree.GetNextSiblingItem(item)) == kNoItem) {
          item = m_tree.GetParentItem(item);
          --depth;
        }
        if (depth == 0) return;
      }
      item = next;
      folderAt.resize(depth + 1);
      folderAt[depth] = m_children.Find(folderAt[depth - 1], NameOf(item, false));
      Note(item, folderAt[depth]);
    }
  }

  const TreeView& m_tree;
  const Baseline& m_baseline;
  const DisplayText& m_display;
  PathMatching m_rule;
  FolderChanges& m_changes;
  BaselineChildren m_children;
  std::string m_name;
};

}  // namespace

std::size_t MatchBaseline(const TreeView& tree, const Baseline& baseline, const DisplayText& display,
                          PathMatching rule, FolderChanges& changes) {
  if (baseline.FolderCount() == 0) return 0;
  Matcher matcher(tree, baseline, display, rule, changes);
  return matcher.Run();
}
