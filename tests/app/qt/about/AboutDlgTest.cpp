#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include "AboutTests.h"
#include "app/AppTexts.h"
#include "app/qt/DialogUnits.h"
#include "app/qt/about/AboutDlg.h"
#include "app/qt/about/LinkStatic.h"

namespace {

QLabel* VersionText(CAboutDlg& about) { return about.findChild<QLabel*>(QStringLiteral("versionText")); }
QLabel* Icon(CAboutDlg& about) { return about.findChild<QLabel*>(QStringLiteral("icon")); }
QPushButton* OkButton(CAboutDlg& about) { return about.findChild<QPushButton*>(QStringLiteral("okButton")); }

// Whether a label's text is drawn whole inside the label, line by line.
bool FitsInside(const QLabel& label, const QString& text) {
  const QFontMetrics metrics(label.font());
  const QStringList lines = text.split(QLatin1Char('\n'));
  const QRect room = label.contentsRect();
  for (const QString& line : lines) {
    if (metrics.horizontalAdvance(line) > room.width()) {
      return false;
    }
  }
  return metrics.lineSpacing() * (lines.size() - 1) + metrics.height() <= room.height();
}

}  // namespace

class AboutDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void showsIconNameVersionNoticeAndHomePage();
  void enterAndOkAccept();
  void escapeAndCloseBoxReject();
  void execEndsWhenOkIsClicked();
  void placesFollowDialogUnits();
  void textsFitTheirPlaces();
};

void AboutDlgTest::showsIconNameVersionNoticeAndHomePage() {
  CAboutDlg about;

  QCOMPARE(about.windowTitle(), QStringLiteral("About Ambrell"));
  QCOMPARE(Icon(about)->pixmap().size(), QSize(32, 32));
  QVERIFY(about.isModal());
  QVERIFY(VersionText(about) != nullptr);
  QCOMPARE(VersionText(about)->text().split(QLatin1Char('\n')),
           (QStringList{QStringLiteral("Ambrell version 1.1"), QStringLiteral(AMBRELL_TEXT_NOTICE_LINE)}));
  QCOMPARE(about.Link()->text(), QStringLiteral(AMBRELL_TEXT_HOME_PAGE_LINUX));
  QCOMPARE(about.findChild<CLinkStatic*>(QStringLiteral("homePage")), about.Link());
  QVERIFY(OkButton(about) != nullptr);
  QCOMPARE(OkButton(about)->text(), QStringLiteral("OK"));
  QVERIFY(OkButton(about)->isDefault());
}

void AboutDlgTest::enterAndOkAccept() {
  CAboutDlg byEnter;
  byEnter.open();
  QTest::keyClick(&byEnter, Qt::Key_Return);
  QCOMPARE(byEnter.result(), int(QDialog::Accepted));
  QVERIFY(!byEnter.isVisible());

  CAboutDlg byOk;
  byOk.open();
  QTest::mouseClick(OkButton(byOk), Qt::LeftButton);
  QCOMPARE(byOk.result(), int(QDialog::Accepted));
  QVERIFY(!byOk.isVisible());
}

void AboutDlgTest::escapeAndCloseBoxReject() {
  CAboutDlg byEscape;
  byEscape.open();
  QTest::keyClick(&byEscape, Qt::Key_Escape);
  QCOMPARE(byEscape.result(), int(QDialog::Rejected));
  QVERIFY(!byEscape.isVisible());

  CAboutDlg byCloseBox;
  byCloseBox.open();
  QVERIFY(byCloseBox.close());
  QCOMPARE(byCloseBox.result(), int(QDialog::Rejected));
  QVERIFY(byCloseBox.windowFlags().testFlag(Qt::WindowCloseButtonHint));
}

// The way the main dialog runs it: a modal loop of its own that OK ends.
void AboutDlgTest::execEndsWhenOkIsClicked() {
  QWidget owner;
  CAboutDlg about(&owner);
  QTimer::singleShot(0, OkButton(about), &QPushButton::click);
  QCOMPARE(about.exec(), int(QDialog::Accepted));
}

void AboutDlgTest::placesFollowDialogUnits() {
  CAboutDlg about;
  const DialogUnits units(about.font());
  const QRect icon = Icon(about)->geometry();
  const QRect version = VersionText(about)->geometry();
  const QRect link = about.Link()->geometry();
  const QRect ok = OkButton(about)->geometry();

  QCOMPARE(about.size(), QSize(units.X(212), units.Y(52)));
  QCOMPARE(about.minimumSize(), about.maximumSize());
  QCOMPARE(link.left(), version.left());
  QVERIFY(link.top() > version.bottom());
  QCOMPARE(ok.top(), version.top());
  QCOMPARE(icon.top(), version.top());
  QVERIFY(icon.right() < version.left());
  QVERIFY(version.right() < ok.left());
  for (const QRect& place : {icon, version, link, ok}) {
    QVERIFY(about.rect().contains(place));
  }
}

// A clipped address could not be read, let alone typed into a browser.
void AboutDlgTest::textsFitTheirPlaces() {
  CAboutDlg about;
  about.show();
  QVERIFY(QTest::qWaitForWindowExposed(&about));

  QVERIFY(FitsInside(*VersionText(about), VersionText(about)->text()));
  QVERIFY(FitsInside(*about.Link(), about.Link()->text()));
  QVERIFY(Icon(about)->contentsRect().width() >= 32 && Icon(about)->contentsRect().height() >= 32);
}

int RunAboutDlgTests(int argc, char** argv) {
  AboutDlgTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "AboutDlgTest.moc"
