// The shared scan protocol scenarios against the Linux main dialog, driven through its
// own button, unit list and closing on the offscreen platform.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDeadlineTimer>
#include <QHelpEvent>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>

#include "DialogFixture.h"
#include "app/qt/FolderTree.h"
#include "app/qt/LargestFilesDlg.h"
#include "app/qt/MapDlg.h"
#include "scan/TreeWalk.h"
#include "tests/app/qt/WindowMenu.h"
#include "tests/protocol/MapSpot.h"
#include "tests/protocol/ScanProtocol.h"
#include "tests/support/RecordingIndicator.h"

namespace {

class DialogDriver : public ScanProtocolDriver {
 public:
  explicit DialogDriver(std::shared_ptr<MemoryFileSystem> machine)
      : m_dialog(WithIndicator(RecordingShownFiles(MemoryServices(std::move(machine)), m_shownFiles),
                               m_progress)) {}

  void ClickRefresh() override { m_dialog.RefreshButton().click(); }
  void PickUnit(int unit) override {
    m_dialog.Units().setCurrentIndex(unit);
    emit m_dialog.Units().activated(unit);
  }
  int Unit() const override { return m_dialog.Unit(); }
  void HandOverTimer() override { m_dialog.HandOverWaitingInsertions(); }
  bool PumpUntil(const std::function<bool()>& condition) override {
    QDeadlineTimer deadline(30000);
    while (!condition() && !deadline.hasExpired()) QTest::qWait(1);
    return condition();
  }
  bool IsScanHeld() const override { return m_dialog.IsScanHeld(); }
  bool IsScanRunning() const override { return m_dialog.IsScanRunning(); }
  bool IsAbortRequested() const override { return m_dialog.IsAbortRequested(); }
  std::string Labels() const override { return DumpLabels(m_dialog).toStdString(); }
  std::size_t ItemCount() const override { return static_cast<std::size_t>(::Labels(m_dialog).size()); }
  std::string ButtonText() const override { return m_dialog.RefreshButton().text().toStdString(); }
  bool ListsEnabled() const override { return m_dialog.Tree().isEnabled() && m_dialog.Units().isEnabled(); }
  bool ShowsBusyCursor() const override { return m_dialog.cursor().shape() == Qt::BusyCursor; }
  void SetCloseWait(std::chrono::milliseconds wait) override { m_dialog.SetCloseWait(wait); }
  void SortBySize(bool checked) override {
    WithMenuItem("Sort by Si&ze", [checked](QAction& item) {
      if (item.isEnabled() && item.isChecked() != checked) item.trigger();
    });
  }
  std::string SortBySizeState() const override { return ItemState("Sort by Si&ze"); }
  std::vector<std::string> ProgressShown() const override { return m_progress->calls; }
  void RefreshSelectedFolder() override { ChooseWindowMenuItem(m_dialog, "Refres&h Selected Folder"); }
  std::string RefreshFolderState() const override { return ItemState("Refres&h Selected Folder"); }
  void CompareWith(const std::string& file) override {
    m_dialog.SetFileChooser([this, file](SavedScanChoice) {
      ++m_fileBoxes;
      return file.empty() ? std::vector<std::string>() : std::vector<std::string>{file};
    });
    ChooseWindowMenuItem(m_dialog, "Com&pare with Saved Scan...");
  }
  int FileBoxesShown() const override { return m_fileBoxes; }
  std::string CompareState() const override { return ItemState("Com&pare with Saved Scan..."); }
  std::string SortByChangeState() const override { return ItemState("Sort by Chan&ge"); }
  void SortByChange(bool checked) override {
    WithMenuItem("Sort by Chan&ge", [checked](QAction& item) {
      if (item.isEnabled() && item.isChecked() != checked) item.trigger();
    });
  }
  void OpenLargestFiles() override {
    WithMenuItem("Largest &Files...", [](QAction& item) { item.trigger(); });
  }
  std::vector<std::string> LargestFileRows() const override {
    std::vector<std::string> rows;
    if (const LargestFilesDlg* window = m_dialog.LargestFilesWindow()) {
      for (int row = 0; row < window->List().count(); ++row)
        rows.push_back(window->List().item(row)->text().toStdString());
    }
    return rows;
  }
  std::string ShowLargestFile(int row) override {
    LargestFilesDlg* window = m_dialog.LargestFilesWindow();
    if (window == nullptr) return "no window";
    window->List().setCurrentRow(row);
    QTest::keyClick(&window->List(), Qt::Key_Return);
    return m_shownFiles->empty() ? "nothing shown" : m_shownFiles->back();
  }
  std::string ShownLabels() override {
    m_dialog.Tree().expandAll();
    std::string shown;
    DumpRows(QModelIndex(), 0, shown);
    return shown;
  }
  void Select(const std::string& name) override {
    const FolderTree& tree = m_dialog.Tree();
    WalkPreOrder(tree, [&](TreeItem item) {
      if (tree.Label(item).toStdString().rfind(name + "    (", 0) == 0) m_dialog.Tree().SelectItem(item);
    });
  }
  std::string SelectedLabel() const override {
    const FolderTree& tree = m_dialog.Tree();
    return tree.Label(tree.GetSelectedItem()).toStdString();
  }
  void ShowMap() override { ChooseWindowMenuItem(m_dialog, "Sho&w Map"); }
  std::string ShowMapState() const override {
    std::string state = "no item";
    WithMenuItem("Sho&w Map",
                 [&state](QAction& item) { state = MenuItemState(item.isEnabled(), item.isChecked()); });
    return state;
  }
  std::string MapTitle() const override {
    const MapDlg* map = m_dialog.MapWindow();
    return map != nullptr && map->isVisible() ? map->windowTitle().toStdString() : "closed";
  }
  std::vector<std::string> MapLabels() const override {
    std::vector<std::string> labels;
    if (const MapDlg* map = m_dialog.MapWindow()) {
      for (const MapBlock& block : map->State().Map().Blocks()) {
        if (block.depth <= 1) labels.push_back(map->State().BlockLabel(block));
      }
    }
    return labels;
  }
  void ClickMap(const std::string& name) override { ClickMapBlock(name, false); }
  void DoubleClickMap(const std::string& name) override { ClickMapBlock(name, true); }
  // The tooltip's text as it reads on the screen.
  std::string HoverMap(const std::string& name) override {
    MapDlg* map = m_dialog.MapWindow();
    if (map == nullptr) return "no map window";
    const MapSpot spot = FindMapSpot(map->State().Map(), name);
    QHelpEvent hover(QEvent::ToolTip, QPoint(spot.x, spot.y), map->mapToGlobal(QPoint(spot.x, spot.y)));
    QApplication::sendEvent(map, &hover);
    QTextDocument shown;
    shown.setHtml(QToolTip::text());
    return shown.toPlainText().toStdString();
  }
  void PressMapKey(MapKey key) override {
    if (MapDlg* map = m_dialog.MapWindow())
      QTest::keyClick(map, key == MapKey::Backspace ? Qt::Key_Backspace : Qt::Key_Escape);
  }
  // Escape, or the window's close box.
  std::string Close() override {
    m_dialog.reject();
    if (m_dialog.IsScanHeld()) return "the scan is still held";
    if (m_dialog.Tree().model()->rowCount() != 0) return "the tree still holds items";
    if (m_dialog.result() != QDialog::Rejected) return "the dialog was not rejected";
    QTest::qWait(0);  // a completion still on its way is never handled
    if (m_dialog.Tree().model()->rowCount() != 0) return "a completion after the close filled the tree";
    return {};
  }

 private:
  // Every file shown in the file browser, as its full path.
  static AmbrellServices RecordingShownFiles(AmbrellServices services,
                                             const std::shared_ptr<std::vector<std::string>>& shown) {
    services.showFile = [shown](const CPath& folder, const std::string& name) {
      std::string path = TextOrEmpty(folder.ToString());
      if (path.empty() || path.back() != '\\') path += '\\';
      shown->push_back(path + name);
    };
    return services;
  }
  void ClickMapBlock(const std::string& name, bool twice) {
    MapDlg* map = m_dialog.MapWindow();
    if (map == nullptr) return ADD_FAILURE() << "no map window";
    const MapSpot spot = FindMapSpot(map->State().Map(), name);
    if (!spot.found) return ADD_FAILURE() << name << " is not on the map";
    if (twice) {
      QTest::mouseDClick(map, Qt::LeftButton, Qt::NoModifier, QPoint(spot.x, spot.y));
    } else {
      QTest::mouseClick(map, Qt::LeftButton, Qt::NoModifier, QPoint(spot.x, spot.y));
    }
  }
  static AmbrellServices WithIndicator(AmbrellServices services,
                                       const std::shared_ptr<RecordingIndicator>& indicator) {
    services.progress = indicator;
    return services;
  }
  template <typename Use>
  void WithMenuItem(const char* text, Use use) const {
    WithWindowMenuItem(const_cast<CAmbrellDlg&>(m_dialog), text, use);
  }
  std::string ItemState(const char* text) const {
    std::string state = "no item";
    WithMenuItem(text,
                 [&state](QAction& item) { state = MenuItemState(item.isEnabled(), item.isChecked()); });
    return state;
  }
  // The rows as the view shows them, two blanks of indent a level.
  void DumpRows(const QModelIndex& parent, int depth, std::string& shown) const {
    const QAbstractItemModel& model = *m_dialog.Tree().model();
    for (int row = 0; row < model.rowCount(parent); ++row) {
      const QModelIndex index = model.index(row, 0, parent);
      shown += std::string(static_cast<std::size_t>(depth) * 2, ' ') +
               model.data(index).toString().toStdString() + '\n';
      DumpRows(index, depth + 1, shown);
    }
  }

  std::shared_ptr<std::vector<std::string>> m_shownFiles = std::make_shared<std::vector<std::string>>();
  std::shared_ptr<RecordingIndicator> m_progress = std::make_shared<RecordingIndicator>();
  CAmbrellDlg m_dialog;
  int m_fileBoxes = 0;
};

const ScanProtocolTarget kQtDialogTarget{"QtDialog", [](std::shared_ptr<MemoryFileSystem> machine) {
                                           return std::make_unique<DialogDriver>(std::move(machine));
                                         }};
INSTANTIATE_TEST_SUITE_P(QtDialog, ScanProtocolTest, ::testing::Values(kQtDialogTarget),
                         ScanProtocolTargetName());
INSTANTIATE_TEST_SUITE_P(QtDialog, ScanProtocolFolderRefreshTest, ::testing::Values(kQtDialogTarget),
                         ScanProtocolTargetName());
INSTANTIATE_TEST_SUITE_P(QtDialog, ScanProtocolProgressTest, ::testing::Values(kQtDialogTarget),
                         ScanProtocolTargetName());
INSTANTIATE_TEST_SUITE_P(QtDialog, ScanProtocolCloseWaitTest, ::testing::Values(kQtDialogTarget),
                         ScanProtocolTargetName());
INSTANTIATE_TEST_SUITE_P(QtDialog, ScanProtocolMenuTest, ::testing::Values(kQtDialogTarget),
                         ScanProtocolTargetName());
INSTANTIATE_TEST_SUITE_P(QtDialog, ScanProtocolMapTest, ::testing::Values(kQtDialogTarget),
                         ScanProtocolTargetName());

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
