#pragma once
// Folder totals and the labels that show them: 'Windows    (9,216 MB)'.

#include <cstdint>
#include <string>
#include <string_view>

#include "scan/DisplayText.h"
#include "scan/FolderChanges.h"
#include "scan/Tree.h"
#include "text/GroupedNumber.h"

struct SizeUnit {
  const char* name;               // the unit list's entry
  unsigned shift;                 // bytes to this unit, rounding down
  const char* labelFormat;        // name, four blanks, grouped number
  const char* changeLabelFormat;  // the same with the change after the total
  const char* changeFormat;       // a change by a number: its sign and grouped number
};

constexpr int kUnitCount = 4;
constexpr int kDefaultUnit = 2;  // Megabytes
extern const SizeUnit kSizeUnits[kUnitCount];

// Sets the item's total: its own files and its direct children's totals.
void AddChildSizes(TreeView& tree, TreeItem item);
// Computes every folder's total from the own files of it and all below it. As
// often as asked: each run gives the same totals.
void AccumulateFolderSizes(TreeView& tree);
// The same for the folder's subtree alone, then its ancestors' totals corrected.
void AccumulateFolderSizes(TreeView& tree, TreeItem folder);

struct LabelContext {
  TreeView& tree;
  int unit;  // index into kSizeUnits
  NumberLocale& locale;
  const DisplayText& display;
  const FolderChanges* changes = nullptr;  // given: each label shows its folder's change
};

// The largest size, where totals stop, reads as "this or more":
// 'big    (18,446,744,073,709,551,615+ bytes)'.
CDynString FormatSizeLabel(const char* displayName, std::uint64_t size, int unit, NumberLocale& locale);
// The same label, appended to out.
void AppendSizeLabel(std::string_view displayName, std::uint64_t size, int unit, NumberLocale& locale,
                     std::string& out);

// The label with the folder's change since a baseline after the total:
// 'Windows    (9,216 MB, +1,024 MB)'. The change is rounded toward zero in
// the unit and grouped as the total: '+0 MB' and '-0 MB' for less than a
// unit, '±0 MB' only for equal totals, 'new' for a folder the baseline
// lacks, '?' when a capped total leaves it unknown. Without a change
// (ChangeKind::None) it is the plain label.
void AppendChangeLabel(std::string_view displayName, std::uint64_t size, const SizeChange& change, int unit,
                       NumberLocale& locale, std::string& out);
CDynString FormatChangeLabel(const char* displayName, std::uint64_t size, const SizeChange& change, int unit,
                             NumberLocale& locale);

// Items' labels one after another, in buffers kept from one to the next: a
// label costs no allocation of its own.
class LabelMaker {
 public:
  explicit LabelMaker(const LabelContext& context) : m_context(context) {}
  // The label UpdateItemLabel gives the item; valid until the next call.
  const std::string& For(TreeItem item);

 private:
  const LabelContext& m_context;
  std::string m_name;
  std::string m_label;
};

void UpdateItemLabel(const LabelContext& context, TreeItem item);
// Relabels every item from its record; reads records only, so it may run
// any number of times.
void UpdateAllLabels(const LabelContext& context);
// Relabels the folder, every folder below it and its ancestors.
void UpdateLabelsAround(const LabelContext& context, TreeItem folder);
