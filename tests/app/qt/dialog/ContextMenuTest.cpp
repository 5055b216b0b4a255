// Which item the context menu acts on, where it opens, and what "Open in
// Explorer" hands to the file browser.

#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "DialogFixture.h"
#include "DialogTests.h"
#include "app/qt/FolderTree.h"
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

QTreeWidgetItem* FindItem(const CAmbrellDlg& dialog, const QString& labelStart) {
  for (QTreeWidgetItemIterator it(&dialog.Tree()); *it != nullptr; ++it) {
    if ((*it)->text(0).startsWith(labelStart)) return *it;
  }
  return nullptr;
}

QPoint RowPoint(const CAmbrellDlg& dialog, QTreeWidgetItem* item, int x) {
  return QPoint(x, dialog.Tree().visualItemRect(item).center().y());
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

class ContextMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void ARightClickAnywhereOnARowSelectsItsItemAndOpensTheMenuThere() {
    ShownDialog shown(MemoryServices(SampleDrive()));
    QVERIFY(shown.ScanAndExpand());
    FolderTree& tree = shown.dialog.Tree();
    tree.setCurrentItem(tree.topLevelItem(0));
    QTreeWidgetItem* music = FindItem(shown.dialog, "music");

    for (int x : {2, tree.visualItemRect(music).left() + 4, tree.viewport()->width() - 3}) {
      tree.setCurrentItem(tree.topLevelItem(0));
      const QPoint point = RowPoint(shown.dialog, music, x);
      RightClick(*tree.viewport(), point);
      QCOMPARE(tree.currentItem(), music);
      QVERIFY(music->isSelected());
      QCOMPARE(shown.menus.at, tree.viewport()->mapToGlobal(point));
    }
    QCOMPARE(shown.menus.items, QStringList{"&Open in Explorer"});
  }

  void NoMenuBelowTheLastItemOrWithoutASelection() {
    ShownDialog shown(MemoryServices(SampleDrive()));
    QVERIFY(shown.ScanAndExpand());
    FolderTree& tree = shown.dialog.Tree();
    const QPoint belowLast(10, tree.viewport()->height() - 2);

    RightClick(*tree.viewport(), RowPoint(shown.dialog, tree.topLevelItem(0), 10));
    QCOMPARE(shown.menus.shown, 0);  // nothing selected yet: not even the clicked item
    QCOMPARE(tree.GetSelectedItem(), kNoItem);

    tree.setCurrentItem(tree.topLevelItem(0));
    RightClick(*tree.viewport(), belowLast);
    QCOMPARE(shown.menus.shown, 0);
    QCOMPARE(tree.currentItem(), tree.topLevelItem(0));
  }

  void TheMenuKeyOpensBelowTheSelectedTextOrNearTheCornerWhenOutOfView() {
    auto fs = SampleDrive();
    for (int i = 0; i < 60; ++i) fs->AddFolder("C:\\many\\f" + std::to_string(i));
    ShownDialog shown(MemoryServices(fs));
    QVERIFY(shown.ScanAndExpand());
    FolderTree& tree = shown.dialog.Tree();
    QTreeWidgetItem* data = FindItem(shown.dialog, "data");
    tree.setCurrentItem(data);
    tree.setFocus();

    MenuKey(tree);
    QRect text;
    QVERIFY(tree.GetItemTextRect(FolderTree::HandleOf(data), text));
    QCOMPARE(shown.menus.at, tree.viewport()->mapToGlobal(QPoint(text.left(), text.bottom() + 1)));
    QVERIFY(text.left() > tree.visualItemRect(data).left());  // past the folder picture

    tree.verticalScrollBar()->setValue(tree.verticalScrollBar()->maximum());
    MenuKey(tree);
    QCOMPARE(shown.menus.at, tree.mapToGlobal(QPoint(5, 5)));
    QCOMPARE(shown.menus.shown, 2);
  }

  void TheMenuKeyOutsideTheTreeOpensNothing() {
    ShownDialog shown(MemoryServices(SampleDrive()));
    QVERIFY(shown.ScanAndExpand());
    shown.dialog.Tree().setCurrentItem(shown.dialog.Tree().topLevelItem(0));
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
    QCOMPARE(shown.menus.items,
             (QStringList{"&Open Saved Scan...", "Sa&ve Scan As...", "", "&About Ambrell..."}));
    QTest::keyClick(&shown.dialog, Qt::Key_F1);
    QCOMPARE(aboutBoxes, 1);
  }

  void OpenInExplorerHandsTheNativeFolderPathAsOneArgument() {
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("top/with blank"));
    const std::string record = (root.path() + "/opened").toStdString();
    const std::string opener = (root.path() + "/opener").toStdString();
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s|%s\\n' \"$#\" \"$1\" >> '" << record << "'\n";
    QFile::setPermissions(QString::fromStdString(opener), QFileDevice::ExeOwner | QFileDevice::ReadOwner);

    auto platform = std::make_shared<PlatformServices>();
    std::string error;
    const std::string drive = (root.path() + "/top").toStdString();
    QVERIFY(OpenFolders({drive}, *platform, error));
    ShownDialog shown(ServicesFromPlatform(platform, opener.c_str()));
    shown.dialog.SetMenuTracker([](QMenu& menu, const QPoint&) { menu.actions().first()->trigger(); });
    QVERIFY(shown.ScanAndExpand());

    FolderTree& tree = shown.dialog.Tree();
    tree.setCurrentItem(tree.topLevelItem(0));
    const QString opened = QString::fromStdString(record);
    const QString drivePath = QString::fromStdString(drive);
    // The browser is not waited for: each start is checked before the next.
    RightClick(*tree.viewport(), RowPoint(shown.dialog, tree.topLevelItem(0), 10));
    QTRY_COMPARE_WITH_TIMEOUT(ReadFile(opened), QString("1|%1\n").arg(drivePath), 10000);
    RightClick(*tree.viewport(), RowPoint(shown.dialog, FindItem(shown.dialog, "with blank"), 10));
    QTRY_COMPARE_WITH_TIMEOUT(ReadFile(opened), QString("1|%1\n1|%1/with blank\n").arg(drivePath), 10000);
  }

 private:
  static QString ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }
};

int RunContextMenuTests(int argc, char** argv) {
  ContextMenuTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "ContextMenuTest.moc"
