// The dialog's own side of scanning: its cursors, unit list, focus, drive labels and
// Close button.

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "DialogFixture.h"
#include "DialogTests.h"
#include "app/qt/FolderTree.h"

namespace {

const QString kMegabyteLabels = QStringLiteral(
    "C:    (11 MB)\n"
    "  data    (10 MB)\n"
    "    photos    (3 MB)\n"
    "    music    (5 MB)\n");

bool ShowsScanning(const CAmbrellDlg& dialog) {
  return dialog.RefreshButton().text() == "&Abort" && !dialog.Tree().isEnabled() &&
         !dialog.Units().isEnabled() && dialog.cursor().shape() == Qt::BusyCursor &&
         dialog.Tree().viewport()->cursor().shape() == Qt::BusyCursor;
}

bool ShowsIdle(const CAmbrellDlg& dialog) {
  return dialog.RefreshButton().text() == "&Refresh" && dialog.Tree().isEnabled() &&
         dialog.Units().isEnabled() && dialog.cursor().shape() == Qt::ArrowCursor && !dialog.IsScanRunning();
}

// A drive shows its mount point, as on a real Linux machine.
class MountPointDisplay : public DisplayText {
 public:
  CDynString ForName(const char* name, bool isDrive) const override {
    return CDynString(isDrive ? "/" : name, AllocHeap);
  }
};

}  // namespace

class ScanControlTest : public QObject {
  Q_OBJECT

  // The protocol itself (Abort, Refresh, relabelling, no drives, closing mid-scan) is
  // the shared scenarios' (ScanProtocolDialogTest.cpp); here is what only this dialog's
  // widgets show.
 private slots:
  void WhileAScanRunsTheBusyCursorCoversTheTreeButNotTheButtons() {
    auto fs = SampleDrive();
    fs->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\data"));
    CAmbrellDlg dialog(MemoryServices(fs));
    fs->GetGate().WaitUntilHeld();

    QVERIFY(ShowsScanning(dialog));
    QCOMPARE(dialog.Units().currentText(), QStringLiteral("Megabytes"));
    QVERIFY(dialog.RefreshButton().isEnabled());
    QVERIFY(dialog.CloseButton().isEnabled());
    QCOMPARE(dialog.RefreshButton().cursor().shape(), Qt::ArrowCursor);

    fs->GetGate().Release();
    QVERIFY(WaitForScanEnd(dialog));
    QVERIFY(ShowsIdle(dialog));
    QCOMPARE(dialog.Tree().viewport()->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(DumpLabels(dialog), kMegabyteLabels);
  }

  void TheDriveShowsItsMountPointFromItsFirstLabel() {
    auto fs = SampleDrive();
    fs->GetGate().Arm(MemoryFileSystem::OpenPoint("C:\\data"));
    AmbrellServices services = MemoryServices(fs);
    services.display = std::make_shared<MountPointDisplay>();
    CAmbrellDlg dialog(services);
    fs->GetGate().WaitUntilHeld();
    QCoreApplication::processEvents();

    dialog.HandOverWaitingInsertions();  // what the 100 ms timer does
    QTRY_COMPARE(Labels(dialog), (QStringList{"/", "data"}));

    fs->GetGate().Release();
    QVERIFY(WaitForScanEnd(dialog));
    QCOMPARE(Labels(dialog).first(), QStringLiteral("/    (11 MB)"));
  }

  void TheUnitListKeepsShowingTheUnitPickedThroughARefresh() {
    auto fs = SampleDrive();
    CAmbrellDlg dialog(MemoryServices(fs));
    QVERIFY(WaitForScanEnd(dialog));
    PickUnit(dialog, 1);
    fs->GetGate().Arm(MemoryFileSystem::OpenPoint("C:"));

    dialog.RefreshButton().click();
    fs->GetGate().WaitUntilHeld();
    QVERIFY(ShowsScanning(dialog));
    QCOMPARE(dialog.Units().currentText(), QStringLiteral("Kilobytes"));

    fs->GetGate().Release();
    QVERIFY(WaitForScanEnd(dialog));
    QVERIFY(ShowsIdle(dialog));
    QCOMPARE(dialog.Units().currentText(), QStringLiteral("Kilobytes"));
  }

  void EveryUnitRoundsDownAndGroupsItsDigits() {
    auto fs = std::make_shared<MemoryFileSystem>();
    fs->AddDrive('C');
    fs->AddFile("C:\\a\\f", 1023);
    fs->AddFile("C:\\b\\f", 1024);
    fs->AddFile("C:\\c\\f", 1048575);
    fs->AddFile("C:\\d\\f", 4ull << 30);
    fs->AddFolder("C:\\e");
    fs->AddFile("C:\\rest", 12345678901ull - 4296017918ull);
    CAmbrellDlg dialog(MemoryServices(fs));
    QVERIFY(WaitForScanEnd(dialog));

    const QStringList expected[] = {
        {"C:    (12,345,678,901 bytes)", "a    (1,023 bytes)", "b    (1,024 bytes)", "c    (1,048,575 bytes)",
         "d    (4,294,967,296 bytes)", "e    (0 bytes)"},
        {"C:    (12,056,327 KB)", "a    (0 KB)", "b    (1 KB)", "c    (1,023 KB)", "d    (4,194,304 KB)",
         "e    (0 KB)"},
        {"C:    (11,773 MB)", "a    (0 MB)", "b    (0 MB)", "c    (0 MB)", "d    (4,096 MB)", "e    (0 MB)"},
        {"C:    (11 GB)", "a    (0 GB)", "b    (0 GB)", "c    (0 GB)", "d    (4 GB)", "e    (0 GB)"},
    };
    for (int unit : {0, 1, 2, 3}) {
      PickUnit(dialog, unit);
      QCOMPARE(Labels(dialog), expected[unit]);
    }
  }

  void FocusInTheTreeMovesOnToTheRefreshButtonWhenAScanStarts() {
    auto fs = SampleDrive();
    CAmbrellDlg dialog(MemoryServices(fs));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(WaitForScanEnd(dialog));
    dialog.Tree().setFocus();
    QVERIFY(dialog.Tree().hasFocus());
    fs->GetGate().Arm(MemoryFileSystem::OpenPoint("C:"));

    dialog.RefreshButton().click();
    fs->GetGate().WaitUntilHeld();
    QVERIFY(dialog.RefreshButton().hasFocus());
    fs->GetGate().Release();
    QVERIFY(WaitForScanEnd(dialog));
  }

  void TheCloseButtonEndsTheDialogAndEnterReachesIt() {
    CAmbrellDlg dialog(MemoryServices(SampleDrive()));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(WaitForScanEnd(dialog));
    dialog.Tree().setFocus();
    QVERIFY(dialog.CloseButton().isDefault());
    QTest::keyClick(&dialog.Tree(), Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Tree().model()->rowCount(), 0);
  }

 private:
  static void PickUnit(CAmbrellDlg& dialog, int index) {
    dialog.Units().setCurrentIndex(index);
    emit dialog.Units().activated(index);
  }
};

int RunScanControlTests(int argc, char** argv) {
  ScanControlTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "ScanControlTest.moc"
