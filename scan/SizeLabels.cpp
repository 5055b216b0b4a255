#include "scan/SizeLabels.h"

#include "scan/FolderRecord.h"
#include "scan/TreeWalk.h"

const SizeUnit kSizeUnits[kUnitCount] = {
    {"Bytes", 0, "%s    (%s bytes)"},
    {"Kilobytes", 10, "%s    (%s KB)"},
    {"Megabytes", 20, "%s    (%s MB)"},
    {"Gigabytes", 30, "%s    (%s GB)"},
};

void AddChildSizes(TreeView& tree, TreeItem item) {
  FolderRecord* record = tree.GetItemData(item);
  record->size = record->ownFiles;
  for (TreeItem child = tree.GetChildItem(item); child != kNoItem; child = tree.GetNextSiblingItem(child)) {
    AddSize(record->size, tree.GetItemData(child)->size);
  }
}

void AccumulateFolderSizes(TreeView& tree) {
  // Post-order: each child already holds its own total when it is added.
  WalkPostOrder(tree, [&tree](TreeItem item) { AddChildSizes(tree, item); });
}

CDynString FormatSizeLabel(const char* displayName, std::uint64_t size, int unit, NumberLocale& locale) {
  const SizeUnit& sizeUnit = kSizeUnits[unit];
  CDynString number = FormatGroupedNumber(size >> sizeUnit.shift, locale);
  if (size == kLargestSize) number.Append("+");  // the total stopped there
  return CDynString(AllocHeap, sizeUnit.labelFormat, displayName, TextOrEmpty(number));
}

void UpdateItemLabel(const LabelContext& context, TreeItem item) {
  const FolderRecord* record = context.tree.GetItemData(item);
  const bool isDrive = context.tree.GetParentItem(item) == kNoItem;
  const CDynString name = context.display.ForName(record->name, isDrive);
  const CDynString label = FormatSizeLabel(TextOrEmpty(name), record->size, context.unit, context.locale);
  context.tree.SetItemText(item, TextOrEmpty(label));
}

void UpdateAllLabels(const LabelContext& context) {
  context.locale.BeginPass();
  WalkPostOrder(context.tree, [&context](TreeItem item) { UpdateItemLabel(context, item); });
}
