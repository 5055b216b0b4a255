// The layout on resizing, the least size and the size grip.

#include <QComboBox>
#include <QPushButton>
#include <QSizeGrip>
#include <QTest>

#include "DialogFixture.h"
#include "DialogTests.h"
#include "app/qt/FolderTree.h"

class LayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void ControlsKeepTheTemplatesMarginsWhenTheWindowGrows() {
    CAmbrellDlg dialog(MemoryServices(SampleDrive()));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QRect tree = dialog.Tree().geometry();
    const int mx = tree.left();
    const int my = tree.top();

    dialog.resize(dialog.width() + 150, dialog.height() + 90);
    QTRY_COMPARE(dialog.Tree().geometry().right(), dialog.width() - mx - 1);
    QCOMPARE(dialog.Tree().geometry().topLeft(), tree.topLeft());
    QCOMPARE(dialog.height() - dialog.CloseButton().geometry().bottom() - 1, my);
    QCOMPARE(dialog.width() - dialog.CloseButton().geometry().right() - 1, mx);
    QCOMPARE(dialog.CloseButton().x() - dialog.RefreshButton().geometry().right() - 1, mx);
    QCOMPARE(dialog.Units().x(), mx);
    QCOMPARE(dialog.Units().y(), dialog.CloseButton().y());
    QCOMPARE(dialog.CloseButton().y() - dialog.Tree().geometry().bottom() - 1, my);
    QVERIFY(WaitForScanEnd(dialog));
  }

  void TheWindowCannotBeMadeSmallerThan250By250() {
    CAmbrellDlg dialog(MemoryServices(SampleDrive()));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QSize frame = dialog.frameGeometry().size() - dialog.size();
    QCOMPARE(dialog.minimumSize() + frame, QSize(250, 250));
    dialog.resize(100, 100);
    QCOMPARE(dialog.frameGeometry().size(), QSize(250, 250));
    QVERIFY(WaitForScanEnd(dialog));
  }

  void TheSizeGripSitsInTheCornerAndHidesWhileMaximised() {
    CAmbrellDlg dialog(MemoryServices(SampleDrive()));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.SizeGrip().isVisible());
    QCOMPARE(dialog.SizeGrip().geometry().bottomRight(), dialog.rect().bottomRight());

    dialog.showMaximized();
    QTRY_VERIFY(!dialog.SizeGrip().isVisible());
    dialog.showNormal();
    QTRY_VERIFY(dialog.SizeGrip().isVisible());
    QCOMPARE(dialog.SizeGrip().geometry().bottomRight(), dialog.rect().bottomRight());
    QVERIFY(WaitForScanEnd(dialog));
  }
};

int RunLayoutTests(int argc, char** argv) {
  LayoutTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "LayoutTest.moc"
