#include "DialogFixture.h"

#include <QDeadlineTimer>
#include <QTest>
#include <QTreeWidgetItemIterator>

#include "app/qt/FolderTree.h"
#include "scan/DisplayText.h"
#include "tests/support/TreeDump.h"
#include "text/GroupedNumber.h"

std::shared_ptr<MemoryFileSystem> SampleDrive() {
  auto fs = std::make_shared<MemoryFileSystem>();
  fs->AddDrive('C');
  fs->AddFile("C:\\boot", 1 * kMiB);
  fs->AddFile("C:\\data\\photos\\p1", 3 * kMiB);
  fs->AddFile("C:\\data\\music\\m1", 5 * kMiB);
  fs->AddFile("C:\\data\\notes", 2 * kMiB);
  return fs;
}

AmbrellServices MemoryServices(std::shared_ptr<MemoryFileSystem> fileSystem) {
  AmbrellServices services;
  services.fileSystem = std::move(fileSystem);
  services.display = std::make_shared<PlainDisplayText>();
  services.locale = std::make_shared<FixedNumberLocale>(3, ",");
  return services;
}

QStringList Labels(const CAmbrellDlg& dialog) {
  QStringList labels;
  for (QTreeWidgetItemIterator it(&dialog.Tree()); *it != nullptr; ++it) labels << (*it)->text(0);
  return labels;
}

QString DumpLabels(const CAmbrellDlg& dialog) {
  const FolderTree& tree = dialog.Tree();
  return QString::fromStdString(
      DumpTree(tree, [&tree](TreeItem item) { return FolderTree::ItemOf(item)->text(0).toStdString(); }));
}

bool WaitForScanEnd(CAmbrellDlg& dialog, int milliseconds) {
  QDeadlineTimer deadline(milliseconds);
  while (dialog.IsScanHeld() && !deadline.hasExpired()) QTest::qWait(1);
  return !dialog.IsScanHeld();
}

ReleaseOnAbort::ReleaseOnAbort(const CAmbrellDlg& dialog, Gate& gate)
    : m_thread([&dialog, &gate] {
        while (!dialog.IsAbortRequested()) std::this_thread::yield();
        gate.Release();
      }) {}

ReleaseOnAbort::~ReleaseOnAbort() { m_thread.join(); }
