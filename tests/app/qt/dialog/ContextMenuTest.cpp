// Which item the context menu acts on, where it opens, and what "Open in
// Explorer" hands to the file browser.

#include <QContextMenuEvent>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "DialogFixture.h"
#include "DialogTests.h"
#include "app/qt/FolderTree.h"
#include "app/qt/LargestFilesDlg.h"
#include "platform/Platform.h"

namespace {

// Records each menu the dialog would show, instead of showing it.
struct MenuRecord {
  int shown = 0;
  QPoint at;
  QStringList items;
};

void RecordMenus(CAmbrellDlg& dialog, MenuRecord& record) {
  dialog.SetMenuTracker([&record](QMenu& menu, const QPoint& point) {
    ++record.shown;
    record.at = point;
    record.items.clear();
    for (QAction* action : menu.actions()) record.items << action->text();
  });
}

void RightClick(QWidget& target, const QPoint& point) {
  QContextMenuEvent event(QContextMenuEvent::Mouse, point, target.mapToGlobal(point));
  QApplication::sendEvent(&target, &event);
}

void MenuKey(QWidget& target) {
  QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(), target.mapToGlobal(QPoint()));
  QApplication::sendEvent(&target, &event);
}

QModelIndex FindItem(const CAmbrellDlg& dialog, const QString& labelStart) {
  const QAbstractItemModel& model = *dialog.Tree().model();
  const QModelIndexList found = model.match(model.index(0, 0), Qt::DisplayRole, labelStart, 1,
                                            Qt::MatchStartsWith | Qt::MatchRecursive);
  return found.isEmpty() ? QModelIndex() : found.front();
}

QModelIndex TopLevelItem(const CAmbrellDlg& dialog, int row) { return dialog.Tree().model()->index(row, 0); }

QPoint RowPoint(const CAmbrellDlg& dialog, const QModelIndex& item, int x) {
  return QPoint(x, dialog.Tree().visualRect(item).center().y());
}

struct ShownDialog {
  explicit ShownDialog(AmbrellServices services) : dialog(std::move(services)) {
    RecordMenus(dialog, menus);
    dialog.show();
  }
  // Every item in view, as far as the tree's height allows.
  bool ScanAndExpand() {
    if (!WaitForScanEnd(dialog)) return false;
    dialog.Tree().expandAll();
    dialog.Tree().doItemsLayout();
    return true;
  }
  CAmbrellDlg dialog;
  MenuRecord menus;
};

}  // namespace

// A drive at a temporary folder's 'top', holding 'with blank', seen through the real
// platform layer; its opener records each start: how many arguments, and the first.
struct OpenerDrive {
  OpenerDrive() {
    QDir(root.path()).mkpath("top/with blank");
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s|%s\\n' \"$#\" \"$1\" >> '" << record << "'\n";
    QFile::setPermissions(QString::fromStdString(opener), QFileDevice::ExeOwner | QFileDevice::ReadOwner);
  }
  // Opens the drive once its content is in place.
  bool Open() {
    std::string error;
    return OpenFolders({drive}, *platform, error);
  }
  AmbrellServices Services() const { return ServicesFromPlatform(platform, opener.c_str()); }
  QString Opened() const {
    QFile file(QString::fromStdString(record));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }

  QTemporaryDir root;
  std::string drive = (root.path() + "/top").toStdString();
  std::string record = (root.path() + "/opened").toStdString();
  std::string opener = (root.path() + "/opener").toStdString();
  std::shared_ptr<PlatformServices> platform = std::make_shared<PlatformServices>();
};

class ContextMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void ARightClickAnywhereOnARowSelectsItsItemAndOpensTheMenuThere() {
    ShownDialog shown(MemoryServices(SampleDrive()));
    QVERIFY(shown.ScanAndExpand());
    FolderTree& tree = shown.dialog.Tree();
    tree.setCurrentIndex(TopLevelItem(shown.dialog, 0));
    const QModelIndex music = FindItem(shown.dialog, "music");
    QVERIFY(music.isValid());

    for (int x : {2, tree.visualRect(music).left() + 4, tree.viewport()->width() - 3}) {
      tree.setCurrentIndex(TopLevelItem(shown.dialog, 0));
      const QPoint point = RowPoint(shown.dialog, music, x);
      RightClick(*tree.viewport(), point);
      QCOMPARE(tree.currentIndex(), music);
      QVERIFY(tree.selectionModel()->isSelected(music));
      QCOMPARE(tree.selectionModel()->selectedIndexes().size(), 1);
      QCOMPARE(shown.menus.at, tree.viewport()->mapToGlobal(point));
    }
    QCOMPARE(shown.menus.items, QStringList{"&Open in Explorer"});
  }

  void NoMenuBelowTheLastItemOrWithoutASelection() {
    ShownDialog shown(MemoryServices(SampleDrive()));
    QVERIFY(shown.ScanAndExpand());
    FolderTree& tree = shown.dialog.Tree();
    const QPoint belowLast(10, tree.viewport()->height() - 2);

    RightClick(*tree.viewport(), RowPoint(shown.dialog, TopLevelItem(shown.dialog, 0), 10));
    QCOMPARE(shown.menus.shown, 0);  // nothing selected yet: not even the clicked item
    QCOMPARE(tree.GetSelectedItem(), kNoItem);

    tree.setCurrentIndex(TopLevelItem(shown.dialog, 0));
    RightClick(*tree.viewport(), belowLast);
    QCOMPARE(shown.menus.shown, 0);
    QCOMPARE(tree.currentIndex(), TopLevelItem(shown.dialog, 0));
  }

  void TheMenuKeyOpensBelowTheSelectedTextOrNearTheCornerWhenOutOfView() {
    auto fs = SampleDrive();
    for (int i = 0; i < 60; ++i) fs->AddFolder("C:\\many\\f" + std::to_string(i));
    ShownDialog shown(MemoryServices(fs));
    QVERIFY(shown.ScanAndExpand());
    FolderTree& tree = shown.dialog.Tree();
    const QModelIndex data = FindItem(shown.dialog, "data");
    QVERIFY(data.isValid());
    tree.setCurrentIndex(data);
    tree.setFocus();

    MenuKey(tree);
    QRect text;
    QVERIFY(tree.GetItemTextRect(tree.ItemAt(data), text));
    QCOMPARE(shown.menus.at, tree.viewport()->mapToGlobal(QPoint(text.left(), text.bottom() + 1)));
    QVERIFY(text.left() > tree.visualRect(data).left());  // past the folder picture

    tree.verticalScrollBar()->setValue(tree.verticalScrollBar()->maximum());
    MenuKey(tree);
    QCOMPARE(shown.menus.at, tree.mapToGlobal(QPoint(5, 5)));
    QCOMPARE(shown.menus.shown, 2);
  }

  void TheMenuKeyOutsideTheTreeOpensNothing() {
    ShownDialog shown(MemoryServices(SampleDrive()));
    QVERIFY(shown.ScanAndExpand());
    shown.dialog.Tree().setCurrentIndex(TopLevelItem(shown.dialog, 0));
    shown.dialog.RefreshButton().setFocus();
    MenuKey(shown.dialog.RefreshButton());
    QCOMPARE(shown.menus.shown, 0);
  }

  void TheDialogsBackgroundOpensTheWindowMenuWithTheSavedScanAndAboutItems() {
    ShownDialog shown(MemoryServices(SampleDrive()));
    int aboutBoxes = 0;
    shown.dialog.SetAboutBoxRunner([&aboutBoxes] { ++aboutBoxes; });
    QVERIFY(shown.ScanAndExpand());
    const QPoint background(shown.dialog.width() / 2, shown.dialog.Tree().geometry().bottom() + 3);
    QCOMPARE(shown.dialog.childAt(background), nullptr);

    RightClick(shown.dialog, background);
    QCOMPARE(shown.menus.items, (QStringList{"&Open Saved Scan...", "Sa&ve Scan As...", "Sort by Si&ze",
                                             "Largest &Files...", "Refres&h Selected Folder", "Sho&w Map",
                                             "Com&pare with Saved Scan...", "", "&About Ambrell..."}));
    QTest::keyClick(&shown.dialog, Qt::Key_F1);
    QCOMPARE(aboutBoxes, 1);
  }

  void OpenInExplorerHandsTheNativeFolderPathAsOneArgument() {
    OpenerDrive top;
    QVERIFY(top.Open());
    ShownDialog shown(top.Services());
    shown.dialog.SetMenuTracker([](QMenu& menu, const QPoint&) { menu.actions().first()->trigger(); });
    QVERIFY(shown.ScanAndExpand());

    FolderTree& tree = shown.dialog.Tree();
    tree.setCurrentIndex(TopLevelItem(shown.dialog, 0));
    const QString drivePath = QString::fromStdString(top.drive);
    // The browser is not waited for: each start is checked before the next.
    RightClick(*tree.viewport(), RowPoint(shown.dialog, TopLevelItem(shown.dialog, 0), 10));
    QTRY_COMPARE_WITH_TIMEOUT(top.Opened(), QString("1|%1\n").arg(drivePath), 10000);
    RightClick(*tree.viewport(), RowPoint(shown.dialog, FindItem(shown.dialog, "with blank"), 10));
    QTRY_COMPARE_WITH_TIMEOUT(top.Opened(), QString("1|%1\n1|%1/with blank\n").arg(drivePath), 10000);
  }

  // Without a file manager on the session bus the row opens the file's folder.
  void ALargestFileOpensItsFolderWhereNoFileManagerSelectsIt() {
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    OpenerDrive top;
    QFile file(QString::fromStdString(top.drive) + "/with blank/a:b.bin");
    QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(3 * kMiB));
    file.close();
    QVERIFY(top.Open());
    ShownDialog shown(top.Services());
    QVERIFY(shown.ScanAndExpand());
    shown.dialog.SetMenuTracker([](QMenu& menu, const QPoint&) {
      for (QAction* action : menu.actions()) {
        if (action->text() == "Largest &Files...") action->trigger();
      }
    });
    RightClick(shown.dialog, QPoint(shown.dialog.width() / 2, shown.dialog.Tree().geometry().bottom() + 3));
    LargestFilesDlg* window = shown.dialog.LargestFilesWindow();
    QVERIFY(window != nullptr);
    QCOMPARE(window->List().count(), 1);
    const QString folder = QString::fromStdString(top.drive) + "/with blank";
    QCOMPARE(window->List().item(0)->text(), folder + "/a:b.bin    (3 MB)");
    window->List().setCurrentRow(0);
    QTest::keyClick(&window->List(), Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(top.Opened(), QString("1|%1\n").arg(folder), 10000);
  }
};

int RunContextMenuTests(int argc, char** argv) {
  ContextMenuTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "ContextMenuTest.moc"
