// The folder tree's model on its own: batches of insertions land below their parents,
// labels are made from the records as a view reads them, and a new unit is one change
// of the whole model.

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>
#include <string>

#include "DialogTests.h"
#include "app/qt/FolderTree.h"
#include "scan/FolderStore.h"
#include "scan/SizeLabels.h"
#include "tests/support/TreeDump.h"

namespace {

// A drive shows a mount point, so that a label made as a drive's stands out.
class MountDisplay : public DisplayText {
 public:
  CDynString ForName(const char* name, bool isDrive) const override {
    return CDynString(AllocHeap, "%s%s", isDrive ? "/mnt/" : "", name);
  }
};

// Records in a store of the test's, as a scan's store holds them; the tree never frees one.
class Records {
 public:
  FolderRecord* Make(const char* name, std::uint64_t ownFiles) {
    FolderRecord* record = m_folders.Add(name);
    record->ownFiles = ownFiles;
    return record;
  }

 private:
  FolderStore m_folders;
};

struct Tree {
  Tree() : view(std::make_shared<MountDisplay>(), locale) {}
  // Each row's label below parent, as a view reads them, two blanks of indent a level.
  QString ModelDump(const QModelIndex& parent = QModelIndex(), int depth = 0) const {
    QString dump;
    const QAbstractItemModel& model = *view.model();
    for (int row = 0; row < model.rowCount(parent); ++row) {
      const QModelIndex index = model.index(row, 0, parent);
      dump += QString(depth * 2, ' ') + model.data(index).toString() + '\n' + ModelDump(index, depth + 1);
    }
    return dump;
  }
  std::string ViewDump() const {
    return DumpTree(view, [this](TreeItem item) { return view.Label(item).toStdString(); });
  }

  std::shared_ptr<NumberLocale> locale = std::make_shared<FixedNumberLocale>(3, ",");
  FolderTree view;
  InsertedItemMap<FolderNode*> items{nullptr};
};

// The tree reads the name from the record, as it does for a scan.
void Insert(InsertionBatch& batch, InsertedItem item, InsertedItem parent, FolderRecord* record) {
  PendingInsertion pending;
  pending.item = item;
  pending.parent = parent;
  pending.record = record;
  batch.push_back(std::move(pending));
}

}  // namespace

class FolderModelTest : public QObject {
  Q_OBJECT

 private slots:
  void BatchesLandBelowTheirParentsAndANewUnitRelabelsEveryRowAtOnce() {
    Records records;
    Tree tree;
    QAbstractItemModelTester tester(tree.view.model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    // Parents interleave within and across batches, as a walk of the folders hands them over.
    InsertionBatch first;
    Insert(first, 1, kTopLevel, records.Make("C", 5'000'000'000));
    Insert(first, 2, 1, records.Make("a", 2048));
    Insert(first, 3, 1, records.Make("b", 1024));
    Insert(first, 4, 2, records.Make("a1", 1));
    Insert(first, 5, 3, records.Make("b1", 0));
    tree.view.InsertBatch(first, tree.items);
    InsertionBatch second;
    Insert(second, 6, 2, records.Make("a2", 3 << 20));
    Insert(second, 7, 4, records.Make("a11", 7));
    Insert(second, 8, kTopLevel, records.Make("D", 0));
    Insert(second, 9, 1, records.Make("c", 0));
    Insert(second, 10, 8, records.Make("d1", 1 << 30));
    Insert(second, 11, 7, records.Make("a111", 0));
    tree.view.InsertBatch(second, tree.items);

    const QString names =
        "/mnt/C\n  a\n    a1\n      a11\n        a111\n    a2\n  b\n    b1\n  c\n/mnt/D\n  d1\n";
    QCOMPARE(tree.ModelDump(), names);
    QCOMPARE(QString::fromStdString(tree.ViewDump()), names);

    AccumulateFolderSizes(tree.view);
    tree.view.show();
    tree.view.expandAll();
    QVERIFY(QTest::qWaitForWindowExposed(&tree.view));
    QSignalSpy layouts(tree.view.model(), &QAbstractItemModel::layoutChanged);
    QSignalSpy changes(tree.view.model(), &QAbstractItemModel::dataChanged);
    tree.view.ShowSizes(2);
    tree.view.ShowSizes(0);
    QCOMPARE(layouts.size(), 2);
    QCOMPARE(changes.size(), 0);
    const QString bytes =
        "/mnt/C    (5,003,148,808 bytes)\n  a    (3,147,784 bytes)\n    a1    (8 bytes)\n"
        "      a11    (7 bytes)\n        a111    (0 bytes)\n    a2    (3,145,728 bytes)\n"
        "  b    (1,024 bytes)\n    b1    (0 bytes)\n  c    (0 bytes)\n/mnt/D    (1,073,741,824 bytes)\n"
        "  d1    (1,073,741,824 bytes)\n";
    QCOMPARE(tree.ModelDump(), bytes);

    // The column follows the longer labels, so long names scroll sideways.
    const QModelIndex drive = tree.view.model()->index(0, 0);
    QTRY_VERIFY(tree.view.columnWidth(0) >=
                tree.view.visualRect(drive).left() +
                    tree.view.fontMetrics().horizontalAdvance(tree.view.model()->data(drive).toString()));

    // The core's own labels, written item by item, read the same.
    UpdateAllLabels(LabelContext{tree.view, 0, *tree.locale, MountDisplay()});
    QCOMPARE(tree.ModelDump(), bytes);

    tree.view.DeleteAllItems();
    QCOMPARE(tree.view.model()->rowCount(), 0);
    QCOMPARE(tree.view.GetRootItem(), kNoItem);
  }
};

int RunFolderModelTests(int argc, char** argv) {
  FolderModelTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "FolderModelTest.moc"
