#include "scan/SizeLabels.h"

#include "scan/FolderRecord.h"
#include "scan/TreeWalk.h"

const SizeUnit kSizeUnits[kUnitCount] = {
    {"Bytes", 0, "%s    (%s bytes)", "%s    (%s bytes, %s)", "%s bytes"},
    {"Kilobytes", 10, "%s    (%s KB)", "%s    (%s KB, %s)", "%s KB"},
    {"Megabytes", 20, "%s    (%s MB)", "%s    (%s MB, %s)", "%s MB"},
    {"Gigabytes", 30, "%s    (%s GB)", "%s    (%s GB, %s)", "%s GB"},
};

namespace {

// Appends format with its n-th '%s' replaced by what field(n, out) appends.
template <typename Field>
void AppendFormat(const char* format, std::string& out, Field&& field) {
  int index = 0;
  for (; *format != '\0'; ++format) {
    if (format[0] == '%' && format[1] == 's') {
      field(index++, out);
      ++format;
    } else {
      out += *format;
    }
  }
}

void AppendTotal(std::uint64_t size, const SizeUnit& unit, NumberLocale& locale, std::string& out) {
  AppendGroupedNumber(size >> unit.shift, locale, out);
  if (size == kLargestSize) out += '+';  // the total stopped there
}

void AppendChange(const SizeChange& change, const SizeUnit& unit, NumberLocale& locale, std::string& out) {
  switch (change.kind) {
    case ChangeKind::New:
      out += "new";
      return;
    case ChangeKind::Unknown:
    case ChangeKind::None:
      out += '?';
      return;
    case ChangeKind::Same:
    case ChangeKind::Grown:
    case ChangeKind::Shrunk:
      break;
  }
  AppendFormat(unit.changeFormat, out, [&](int, std::string& text) {
    if (change.kind == ChangeKind::Same) {
      text +=
          "\xC2\xB1"
          "0";  // plus-minus sign, in UTF-8
      return;
    }
    text += change.kind == ChangeKind::Grown ? '+' : '-';
    AppendGroupedNumber(change.bytes >> unit.shift, locale, text);
  });
}

}  // namespace

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

// The unit's formats hold '%s' for the name, then '%s' for the number, then
// '%s' for the change.
void AppendSizeLabel(std::string_view displayName, std::uint64_t size, int unit, NumberLocale& locale,
                     std::string& out) {
  AppendChangeLabel(displayName, size, SizeChange{}, unit, locale, out);
}

void AppendChangeLabel(std::string_view displayName, std::uint64_t size, const SizeChange& change, int unit,
                       NumberLocale& locale, std::string& out) {
  const SizeUnit& sizeUnit = kSizeUnits[unit];
  const char* format = change.kind == ChangeKind::None ? sizeUnit.labelFormat : sizeUnit.changeLabelFormat;
  AppendFormat(format, out, [&](int field, std::string& text) {
    if (field == 0) {
      text += displayName;
    } else if (field == 1) {
      AppendTotal(size, sizeUnit, locale, text);
    } else {
      AppendChange(change, sizeUnit, locale, text);
    }
  });
}

CDynString FormatChangeLabel(const char* displayName, std::uint64_t size, const SizeChange& change, int unit,
                             NumberLocale& locale) {
  std::string label;
  AppendChangeLabel(displayName, size, change, unit, locale, label);
  return CDynString(label.c_str(), AllocHeap);
}

const std::string& LabelMaker::For(TreeItem item) {
  const FolderRecord* record = m_context.tree.GetItemData(item);
  const bool isDrive = m_context.tree.GetParentItem(item) == kNoItem;
  m_name.clear();
  m_context.display.AppendName(record->name, isDrive, m_name);
  m_label.clear();
  const SizeChange change =
      m_context.changes != nullptr ? m_context.changes->ChangeOf(*record) : SizeChange{};
  AppendChangeLabel(m_name, record->size, change, m_context.unit, m_context.locale, m_label);
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
