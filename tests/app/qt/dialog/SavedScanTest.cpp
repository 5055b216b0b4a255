// Saving the tree and opening saved scans from the window menu, with the file dialog
// stubbed; Refresh reading the file again; bad files; the command line.

#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "DialogFixture.h"
#include "DialogTests.h"
#include "app/qt/AmbrellServices.h"
#include "app/qt/CommandLine.h"
#include "app/qt/FolderTree.h"
#include "tests/support/RecordingIndicator.h"

namespace {

// A saved scan of '/srv' (ncdu's format): www holds 3 MiB, the root 1 MiB of its own.
std::string SrvScan(const std::string& root = "/srv", int wwwMiB = 3) {
  return "[1,2,{\"progname\":\"ncdu\",\"progver\":\"2.3\",\"timestamp\":0},\n[{\"name\":\"" + root +
         "\"},\n[{\"name\":\"www\"},{\"name\":\"index\",\"asize\":" + std::to_string(wwwMiB * kMiB) +
         "}],\n{\"name\":\"log\",\"asize\":1048576}]]\n";
}

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

// The dialog's window menu, as a right-click on its background shows it: each item's
// text and whether it is enabled; the item named pick is chosen.
struct WindowMenu {
  static QStringList Show(CAmbrellDlg& dialog, const QString& pick = QString()) {
    QStringList items;
    dialog.SetMenuTracker([&](QMenu& menu, const QPoint&) {
      for (QAction* action : menu.actions()) {
        if (action->isSeparator()) continue;
        items << action->text() + (action->isEnabled() ? "" : " (disabled)");
        if (action->text() == pick && action->isEnabled()) action->trigger();
      }
    });
    const QPoint background(dialog.width() / 2, dialog.Tree().geometry().bottom() + 3);
    QContextMenuEvent event(QContextMenuEvent::Mouse, background, dialog.mapToGlobal(background));
    QApplication::sendEvent(&dialog, &event);
    return items;
  }
};

const QString kOpen = QStringLiteral("&Open Saved Scan...");
const QString kSaveAs = QStringLiteral("Sa&ve Scan As...");
const QString kBySize = QStringLiteral("Sort by Si&ze");
const QString kLargest = QStringLiteral("Largest &Files...");
const QString kRefreshFolder = QStringLiteral("Refres&h Selected Folder");
const QString kCompare = QStringLiteral("Com&pare with Saved Scan...");
const QString kShowMap = QStringLiteral("Sho&w Map");

AmbrellServices SavedScanServices(std::shared_ptr<MemoryFileSystem> fs, const char* opener = "true") {
  AmbrellServices services = MemoryServices(std::move(fs));
  services.openSavedDrives = SavedDrivesOpenedWith(opener);
  return services;
}

// A dialog whose file dialog answers with files.
struct SavedScanDialog {
  explicit SavedScanDialog(AmbrellServices services) : dialog(std::move(services)) {
    dialog.SetFileChooser([this](SavedScanChoice) { return files; });
    dialog.show();
  }
  void Pick(const QString& item, std::vector<std::string> chosen) {
    files = std::move(chosen);
    WindowMenu::Show(dialog, item);
  }
  CAmbrellDlg dialog;
  std::vector<std::string> files;
};

}  // namespace

class SavedScanTest : public QObject {
  Q_OBJECT

 private slots:
  void SavedDrivesOpenAgainAsTheSameTreeAndRelabelLikeScannedOnes() {
    QTemporaryDir folder;
    auto fs = SampleDrive();
    fs->AddDrive('D');
    fs->AddFile("D:\\games\\g", 4 * kMiB);
    SavedScanDialog scanned(SavedScanServices(fs));
    QVERIFY(WaitForScanEnd(scanned.dialog));
    const std::string given = (folder.path() + "/scan.json").toStdString();
    scanned.Pick(kSaveAs, {given});

    // One file per drive, the letter before the extension.
    const std::string driveC = (folder.path() + "/scan-C.json").toStdString();
    const std::string driveD = (folder.path() + "/scan-D.json").toStdString();
    QVERIFY(QFile::exists(QString::fromStdString(driveC)) && QFile::exists(QString::fromStdString(driveD)));
    QVERIFY(!QFile::exists(QString::fromStdString(given)));

    SavedScanDialog opened(SavedScanServices(std::make_shared<MemoryFileSystem>()));
    QVERIFY(WaitForScanEnd(opened.dialog));
    opened.Pick(kOpen, {driveC, driveD});
    QVERIFY(opened.dialog.ShowsSavedScans());
    QVERIFY(WaitForScanEnd(opened.dialog));
    QCOMPARE(DumpLabels(opened.dialog), DumpLabels(scanned.dialog));

    opened.dialog.Units().setCurrentIndex(1);
    emit opened.dialog.Units().activated(1);
    QCOMPARE(Labels(opened.dialog).first(), QStringLiteral("C:    (11,264 KB)"));
  }

  void TheSavedScanItemsWaitForTheScanToEndAndSavingForATree() {
    auto fs = SampleDrive();
    fs->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\data"));
    SavedScanDialog shown(SavedScanServices(fs));
    fs->GetGate().WaitUntilHeld();
    QCOMPARE(WindowMenu::Show(shown.dialog),
             (QStringList{kOpen + " (disabled)", kSaveAs + " (disabled)", kBySize + " (disabled)",
                          kLargest + " (disabled)", kRefreshFolder + " (disabled)", kShowMap + " (disabled)",
                          kCompare + " (disabled)", "&About Ambrell..."}));
    fs->GetGate().Release();
    QVERIFY(WaitForScanEnd(shown.dialog));
    QCOMPARE(WindowMenu::Show(shown.dialog),
             (QStringList{kOpen, kSaveAs, kBySize, kLargest, kRefreshFolder + " (disabled)",
                          kShowMap + " (disabled)", kCompare, "&About Ambrell..."}));

    SavedScanDialog empty(SavedScanServices(std::make_shared<MemoryFileSystem>()));
    QVERIFY(WaitForScanEnd(empty.dialog));
    QCOMPARE(WindowMenu::Show(empty.dialog),
             (QStringList{kOpen, kSaveAs + " (disabled)", kBySize, kLargest, kRefreshFolder + " (disabled)",
                          kShowMap + " (disabled)", kCompare, "&About Ambrell..."}));
  }

  // Reading a file walks nothing: the launcher entry shows no progress for it.
  void ASavedScanOpenedOrReadAgainShowsNoProgress() {
    QTemporaryDir folder;
    const std::string file = (folder.path() + "/srv.json").toStdString();
    WriteFile(file, SrvScan());
    auto fs = SampleDrive();
    auto progress = std::make_shared<RecordingIndicator>();
    AmbrellServices services = SavedScanServices(fs);
    services.progress = progress;
    SavedScanDialog shown(std::move(services));
    QVERIFY(WaitForScanEnd(shown.dialog));
    const std::size_t afterTheScan = progress->calls.size();

    shown.Pick(kOpen, {file});
    QVERIFY(WaitForScanEnd(shown.dialog));
    shown.dialog.RefreshButton().click();
    QVERIFY(WaitForScanEnd(shown.dialog));
    QCOMPARE(progress->calls.size(), afterTheScan);
  }

  void RefreshReadsTheFileAgainAndABadFileLeavesTheTreeAsItIs() {
    QTemporaryDir folder;
    const std::string file = (folder.path() + "/srv.json").toStdString();
    const std::string bad = (folder.path() + "/bad.json").toStdString();
    WriteFile(file, SrvScan());
    WriteFile(bad, SrvScan().substr(0, 60));
    auto fs = SampleDrive();
    SavedScanDialog shown(SavedScanServices(fs));
    QVERIFY(WaitForScanEnd(shown.dialog));
    const QString scannedLabels = DumpLabels(shown.dialog);

    shown.Pick(kOpen, {bad});
    QVERIFY(!shown.dialog.IsScanHeld() && !shown.dialog.ShowsSavedScans());
    QCOMPARE(DumpLabels(shown.dialog), scannedLabels);

    shown.Pick(kOpen, {file});
    QVERIFY(WaitForScanEnd(shown.dialog));
    QCOMPARE(DumpLabels(shown.dialog), QStringLiteral("/srv    (4 MB)\n  www    (3 MB)\n"));

    const int opened = fs->OpenCount();
    WriteFile(file, SrvScan("/srv", 7));
    shown.dialog.RefreshButton().click();
    QVERIFY(WaitForScanEnd(shown.dialog));
    QCOMPARE(DumpLabels(shown.dialog), QStringLiteral("/srv    (8 MB)\n  www    (7 MB)\n"));
    QCOMPARE(fs->OpenCount(), opened);  // read from the file, not scanned

    WriteFile(file, "not a saved scan");
    shown.dialog.RefreshButton().click();
    QVERIFY(!shown.dialog.IsScanHeld());
    QCOMPARE(DumpLabels(shown.dialog), QStringLiteral("/srv    (8 MB)\n  www    (7 MB)\n"));
  }

  // Deeper than any stack would take: opened, read again by Refresh, and emptied.
  void AHundredThousandLevelsOpenRefreshAndClose() {
    QTemporaryDir folder;
    const std::string file = (folder.path() + "/deep.json").toStdString();
    constexpr int kLevels = 100000;
    std::string deep = "[1,2,{\"progname\":\"ambrell\"},\n[{\"name\":\"/deep\",\"asize\":1}";
    for (int level = 0; level < kLevels; ++level) deep += ",[{\"name\":\"d\",\"asize\":1}";
    deep.append(kLevels + 2, ']');
    WriteFile(file, deep);
    {
      SavedScanDialog shown(SavedScanServices(std::make_shared<MemoryFileSystem>()));
      QVERIFY(WaitForScanEnd(shown.dialog));
      shown.dialog.Units().setCurrentIndex(0);
      emit shown.dialog.Units().activated(0);
      shown.Pick(kOpen, {file});
      QVERIFY(WaitForScanEnd(shown.dialog, 60000));
      const QString expected = QStringLiteral("/deep    (%L1 bytes)").arg(kLevels + 1);
      QCOMPARE(Labels(shown.dialog).first(), expected);
      shown.dialog.RefreshButton().click();
      QVERIFY(WaitForScanEnd(shown.dialog, 60000));
      QCOMPARE(Labels(shown.dialog).first(), expected);
    }
  }

  void OpenInExplorerOpensASavedFolderOnlyWhereItExistsHere() {
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("srv/www"));
    const std::string record = (root.path() + "/opened").toStdString();
    const std::string opener = (root.path() + "/opener").toStdString();
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << record << "'\n";
    QFile::setPermissions(QString::fromStdString(opener), QFileDevice::ExeOwner | QFileDevice::ReadOwner);
    const std::string here = (root.path() + "/srv").toStdString();
    const std::string file = (root.path() + "/here.json").toStdString();
    WriteFile(file, SrvScan(here));
    const std::string elsewhere = (root.path() + "/elsewhere.json").toStdString();
    WriteFile(elsewhere, SrvScan("/no/such/srv"));

    SavedScanDialog shown(SavedScanServices(std::make_shared<MemoryFileSystem>(), opener.c_str()));
    QVERIFY(WaitForScanEnd(shown.dialog));
    shown.Pick(kOpen, {elsewhere, file});
    QVERIFY(WaitForScanEnd(shown.dialog));
    FolderTree& tree = shown.dialog.Tree();
    tree.expandAll();
    const auto openInExplorer = [&](const QModelIndex& item) {
      tree.setCurrentIndex(item);
      shown.dialog.SetMenuTracker([](QMenu& menu, const QPoint&) { menu.actions().first()->trigger(); });
      tree.doItemsLayout();
      const QPoint point(10, tree.visualRect(item).center().y());
      QContextMenuEvent event(QContextMenuEvent::Mouse, point, tree.viewport()->mapToGlobal(point));
      QApplication::sendEvent(tree.viewport(), &event);
    };
    const QAbstractItemModel& model = *tree.model();
    openInExplorer(model.index(0, 0, model.index(0, 0)));  // /no/such/srv/www
    openInExplorer(model.index(0, 0, model.index(1, 0)));  // here/www
    QTRY_COMPARE_WITH_TIMEOUT(ReadFile(QString::fromStdString(record)),
                              QString::fromStdString(here + "/www\n"), 10000);
  }

  // The folder is scanned where the saved path names it on this machine, as Open in
  // Explorer opens it.
  void ASavedFolderIsScannedAgainOnlyWhereItExistsHere() {
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("srv/www"));
    const std::string here = (root.path() + "/srv").toStdString();
    QFile grown(QString::fromStdString(here + "/www/grown.dat"));
    QVERIFY(grown.open(QIODevice::WriteOnly) && grown.resize(2 * kMiB));
    const std::string file = (root.path() + "/here.json").toStdString();
    WriteFile(file, SrvScan(here));
    const std::string elsewhere = (root.path() + "/elsewhere.json").toStdString();
    WriteFile(elsewhere, SrvScan("/no/such/srv"));

    SavedScanDialog shown(SavedScanServices(std::make_shared<MemoryFileSystem>()));
    QVERIFY(WaitForScanEnd(shown.dialog));
    shown.Pick(kOpen, {elsewhere, file});
    QVERIFY(WaitForScanEnd(shown.dialog));
    FolderTree& tree = shown.dialog.Tree();
    const QAbstractItemModel& model = *tree.model();
    tree.setCurrentIndex(model.index(0, 0, model.index(0, 0)));  // /no/such/srv/www
    QVERIFY(WindowMenu::Show(shown.dialog).contains(kRefreshFolder + " (disabled)"));
    tree.setCurrentIndex(model.index(0, 0, model.index(1, 0)));  // here/www
    QVERIFY(WindowMenu::Show(shown.dialog, kRefreshFolder).contains(kRefreshFolder));
    QVERIFY(WaitForScanEnd(shown.dialog));
    QCOMPARE(Labels(shown.dialog),
             QStringList({"/no/such/srv    (4 MB)", "www    (3 MB)",
                          QString::fromStdString(here) + "    (3 MB)", "www    (2 MB)"}));
  }

  void TheCommandLineOpensRegularFilesAsSavedScansAndScansFolders() {
    QTemporaryDir folder;
    const std::string file = (folder.path() + "/srv.json").toStdString();
    WriteFile(file, SrvScan());
    PlatformServices platform;
    SavedScanSet saved;
    std::string error;
    QVERIFY(OpenArguments({file}, platform, saved, error));
    QCOMPARE(saved.files, std::vector<std::string>{file});
    QVERIFY(platform.locale != nullptr);

    SavedScanSet none;
    QVERIFY(OpenArguments({folder.path().toStdString()}, platform, none, error));
    QVERIFY(none.files.empty());
    QVERIFY(!OpenArguments({file, folder.path().toStdString()}, platform, none, error));
    QCOMPARE(error, std::string("give folders to scan or saved scans to open, not both"));
    WriteFile(file, "[1,2,{}");
    QVERIFY(!OpenArguments({file}, platform, none, error));
    QVERIFY2(error.rfind(file + ":1:", 0) == 0, error.c_str());

    // The dialog shows what the command line read, without scanning.
    auto fs = SampleDrive();
    CAmbrellDlg dialog(SavedScanServices(fs), std::move(saved));
    QVERIFY(WaitForScanEnd(dialog));
    QCOMPARE(DumpLabels(dialog), QStringLiteral("/srv    (4 MB)\n  www    (3 MB)\n"));
    QCOMPARE(fs->OpenCount(), 0);
  }

 private:
  static QString ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }
};

int RunSavedScanTests(int argc, char** argv) {
  SavedScanTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "SavedScanTest.moc"
