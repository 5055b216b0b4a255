#include "DialogFixture.h"

#include <QDeadlineTimer>
#include <QTest>
#include <vector>

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

// Through the model, as a view reads it: rows below their parents, in order.
QStringList Labels(const CAmbrellDlg& dialog) {
  const QAbstractItemModel& model = *dialog.Tree().model();
  QStringList labels;
  std::vector<QModelIndex> pending{QModelIndex()};
  while (!pending.empty()) {
    const QModelIndex parent = pending.back();
    pending.pop_back();
    if (parent.isValid()) labels << model.data(parent).toString();
    for (int row = model.rowCount(parent); row > 0; --row) pending.push_back(model.index(row - 1, 0, parent));
  }
  return labels;
}

QString DumpLabels(const CAmbrellDlg& dialog) {
  const FolderTree& tree = dialog.Tree();
  return QString::fromStdString(
      DumpTree(tree, [&tree](TreeItem item) { return tree.Label(item).toStdString(); }));
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
