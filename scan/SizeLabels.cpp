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

void AccumulateFolderSizes(TreeView& tree, TreeItem folder) {
  WalkSubtreePostOrder(tree, folder, [&tree](TreeItem item) { AddChildSizes(tree, item); });
  for (TreeItem above = tree.GetParentItem(folder); above != kNoItem; above = tree.GetParentItem(above))
    AddChildSizes(tree, above);
}

CDynString FormatSizeLabel(const char* displayName, std::uint64_t size, int unit, NumberLocale& locale) {
  std::string label;
  AppendSizeLabel(displayName, size, unit, locale, label);
  return CDynString(label.c_str(), AllocHeap);
}

// The unit's format holds '%s' for the name, then '%s' for the number.
void AppendSizeLabel(std::string_view displayName, std::uint64_t size, int unit, NumberLocale& locale,
                     std::string& out) {
  const SizeUnit& sizeUnit = kSizeUnits[unit];
  int field = 0;
  for (const char* format = sizeUnit.labelFormat; *format != '\0'; ++format) {
    if (format[0] != '%' || format[1] != 's') {
      out += *format;
      continue;
    }
    ++format;
    if (field++ == 0) {
      out += displayName;
      continue;
    }
    AppendGroupedNumber(size >> sizeUnit.shift, locale, out);
    if (size == kLargestSize) out += '+';  // the total stopped there
  }
}

const std::string& LabelMaker::For(TreeItem item) {
  const FolderRecord* record = m_context.tree.GetItemData(item);
  const bool isDrive = m_context.tree.GetParentItem(item) == kNoItem;
  m_name.clear();
  m_context.display.AppendName(record->name, isDrive, m_name);
  m_label.clear();
  AppendSizeLabel(m_name, record->size, m_context.unit, m_context.locale, m_label);
  return m_label;
}

void UpdateItemLabel(const LabelContext& context, TreeItem item) {
  LabelMaker labels(context);
  context.tree.SetItemText(item, labels.For(item).c_str());
}

void UpdateAllLabels(const LabelContext& context) {
  context.locale.BeginPass();
  LabelMaker labels(context);
  WalkPostOrder(context.tree,
                [&](TreeItem item) { context.tree.SetItemText(item, labels.For(item).c_str()); });
}

void UpdateLabelsAround(const LabelContext& context, TreeItem folder) {
  context.locale.BeginPass();
  LabelMaker labels(context);
  const auto relabel = [&](TreeItem item) { context.tree.SetItemText(item, labels.For(item).c_str()); };
  WalkSubtreePreOrder(context.tree, folder, relabel);
  for (TreeItem above = context.tree.GetParentItem(folder); above != kNoItem;
       above = context.tree.GetParentItem(above))
    relabel(above);
}
