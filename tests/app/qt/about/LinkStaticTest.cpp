#include <sys/resource.h>

#include <QClipboard>
#include <QCursor>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QSignalSpy>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "AboutTests.h"
#include "app/qt/about/LinkStatic.h"
#include "platform/posix/DescriptorLimit.h"

namespace {

const QString kAddress = QStringLiteral("https://example.org/ambrell/read me?lang=en&x=ü");
const QString kClipboardBefore = QStringLiteral("what the user had copied");

// Blue text over a grey background: every drawn pixel leans to blue.
bool IsLinkInk(QRgb pixel) { return qBlue(pixel) - std::max(qRed(pixel), qGreen(pixel)) > 40; }

// Black or grey text would show the label's ordinary colours.
bool IsPlainInk(QRgb pixel) {
  return qBlue(pixel) < 128 && std::abs(qRed(pixel) - qBlue(pixel)) < 30 &&
         std::abs(qGreen(pixel) - qBlue(pixel)) < 30;
}

QRect InkBounds(const QImage& image) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (IsLinkInk(image.pixel(x, y))) {
        bounds |= QRect(x, y, 1, 1);
      }
    }
  }
  return bounds;
}

int CountPixels(const QImage& image, bool (*test)(QRgb)) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      count += test(image.pixel(x, y)) ? 1 : 0;
    }
  }
  return count;
}

// An underline is a row of ink across the whole text; letters leave gaps.
bool HasUnderline(const QImage& image, const QRect& ink) {
  for (int y = ink.top(); y <= ink.bottom(); ++y) {
    bool unbroken = true;
    for (int x = ink.left() + 1; x < ink.right() && unbroken; ++x) {
      unbroken = IsLinkInk(image.pixel(x, y));
    }
    if (unbroken) {
      return true;
    }
  }
  return false;
}

QImage Render(CLinkStatic& link) { return link.grab().toImage().convertToFormat(QImage::Format_RGB32); }

QFont Enlarged(const QFont& font) {
  QFont large = font;
  large.setPointSizeF(font.pointSizeF() * 3);
  return large;
}

}  // namespace

class LinkStaticTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void failedOpenCopiesExactlyTheTextAsPlainText();
  void successfulOpenLeavesClipboardAlone();
  void throwingOpenerCountsAsFailedOpen();
  void theOpenerProgramsExitStatusDecides();
  void theOpenerProgramGetsTheDescriptorLimitThisProcessStartedWith();
  void onlyLeftClickOpens();
  void drawnBlueAndUnderlined();
  void underlinedFontIsKeptAfterFontChange();
  void handPointerOverTheLink();

 private:
  void Prepare(CLinkStatic& link, bool opens);

  QStringList m_opened;
};

void LinkStaticTest::init() {
  m_opened.clear();
  QGuiApplication::clipboard()->setText(kClipboardBefore);
}

void LinkStaticTest::Prepare(CLinkStatic& link, bool opens) {
  link.SetOpener([this, opens](const QString& text) {
    m_opened << text;
    return opens;
  });
  link.setFixedSize(600, 120);
  link.show();
  QVERIFY(QTest::qWaitForWindowExposed(&link));
}

void LinkStaticTest::failedOpenCopiesExactlyTheTextAsPlainText() {
  CLinkStatic link(kAddress);
  Prepare(link, false);

  QTest::mouseClick(&link, Qt::LeftButton);

  QCOMPARE(m_opened, QStringList{kAddress});
  const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
  QVERIFY(copied != nullptr);
  QCOMPARE(copied->text(), kAddress);
  QVERIFY(!copied->hasHtml());
  QVERIFY(!copied->hasUrls());
}

void LinkStaticTest::successfulOpenLeavesClipboardAlone() {
  CLinkStatic link(kAddress);
  Prepare(link, true);

  QTest::mouseClick(&link, Qt::LeftButton);

  QCOMPARE(m_opened, QStringList{kAddress});
  QCOMPARE(QGuiApplication::clipboard()->text(), kClipboardBefore);
}

void LinkStaticTest::throwingOpenerCountsAsFailedOpen() {
  CLinkStatic link(kAddress);
  link.SetOpener([](const QString&) -> bool { throw std::runtime_error("no handler"); });
  link.show();
  QVERIFY(QTest::qWaitForWindowExposed(&link));

  QTest::mouseClick(&link, Qt::LeftButton);

  QCOMPARE(QGuiApplication::clipboard()->text(), kAddress);
}

// The opener program started and then failed (xdg-open finding no handler, or no such
// folder) is a failed open, although the desktop's URL service would have said yes.
void LinkStaticTest::theOpenerProgramsExitStatusDecides() {
  const struct {
    const char* program;
    bool opens;
  } cases[] = {{"false", false}, {"ambrell-test-no-such-opener", false}, {"true", true}};
  for (const auto& c : cases) {
    QGuiApplication::clipboard()->setText(kClipboardBefore);
    CLinkStatic link(kAddress);
    link.SetOpenerProgram(QString::fromUtf8(c.program));
    link.show();
    QVERIFY(QTest::qWaitForWindowExposed(&link));
    QSignalSpy finished(&link, &CLinkStatic::OpenerFinished);

    QTest::mouseClick(&link, Qt::LeftButton);

    QVERIFY2(finished.count() == 1 || finished.wait(10000), c.program);
    QCOMPARE(finished.first().first().toBool(), c.opens);
    QCOMPARE(QGuiApplication::clipboard()->text(), c.opens ? kClipboardBefore : kAddress);
  }
}

// The scan raises the soft limit on descriptors for itself alone. Raised once
// a process: for the tests after this one, too, which is harmless.
void LinkStaticTest::theOpenerProgramGetsTheDescriptorLimitThisProcessStartedWith() {
  rlimit limit;
  QCOMPARE(::getrlimit(RLIMIT_NOFILE, &limit), 0);
  if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < 1024) QSKIP("hard limit below 1,024");
  limit.rlim_cur = 1000;
  QCOMPARE(::setrlimit(RLIMIT_NOFILE, &limit), 0);
  RaiseDescriptorLimit();
  QCOMPARE(::getrlimit(RLIMIT_NOFILE, &limit), 0);
  QVERIFY(limit.rlim_cur > 1000);

  // The opener writes the limit it finds, the moment it runs, to the file the link names.
  QTemporaryDir folder;
  QFile opener(folder.filePath(QStringLiteral("opener")));
  QVERIFY(opener.open(QIODevice::WriteOnly));
  opener.write("#!/bin/sh\nulimit -n > \"$1\"\n");
  opener.close();
  QVERIFY(opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  CLinkStatic link(folder.filePath(QStringLiteral("limit")));
  link.SetOpenerProgram(opener.fileName());
  link.show();
  QVERIFY(QTest::qWaitForWindowExposed(&link));
  QSignalSpy finished(&link, &CLinkStatic::OpenerFinished);

  QTest::mouseClick(&link, Qt::LeftButton);

  QVERIFY(finished.count() == 1 || finished.wait(10000));
  QVERIFY(finished.first().first().toBool());
  QFile written(link.text());
  QVERIFY(written.open(QIODevice::ReadOnly));
  QCOMPARE(written.readAll(), QByteArray("1000\n"));
}

void LinkStaticTest::onlyLeftClickOpens() {
  CLinkStatic link(kAddress);
  Prepare(link, false);

  QTest::mouseClick(&link, Qt::RightButton);
  QTest::mouseClick(&link, Qt::MiddleButton);
  QTest::keyClick(&link, Qt::Key_Return);
  QTest::keyClick(&link, Qt::Key_Space);

  QVERIFY(m_opened.isEmpty());
  QCOMPARE(QGuiApplication::clipboard()->text(), kClipboardBefore);
  QCOMPARE(link.focusPolicy(), Qt::NoFocus);
}

void LinkStaticTest::drawnBlueAndUnderlined() {
  CLinkStatic link(kAddress);
  Prepare(link, true);

  const QImage image = Render(link);
  const QRect ink = InkBounds(image);

  QVERIFY(!ink.isEmpty());
  QVERIFY(CountPixels(image, [](QRgb pixel) { return pixel == qRgb(0, 0, 255); }) > 0);
  QCOMPARE(CountPixels(image, IsPlainInk), 0);
  QVERIFY(HasUnderline(image, ink));
}

void LinkStaticTest::underlinedFontIsKeptAfterFontChange() {
  CLinkStatic link(kAddress);
  Prepare(link, true);
  const QRect before = InkBounds(Render(link));

  link.setFont(Enlarged(link.font()));
  const QImage after = Render(link);

  QCOMPARE(InkBounds(after), before);
  QVERIFY(HasUnderline(after, before));

  // The larger font does draw larger text when it is the one the link starts with.
  CLinkStatic large(kAddress);
  large.setFont(link.font());
  Prepare(large, true);
  QVERIFY(InkBounds(Render(large)).height() > before.height());
}

void LinkStaticTest::handPointerOverTheLink() {
  CLinkStatic link(kAddress);
  // The program's own hand, pointing with the tip of its finger.
  QCOMPARE(link.cursor().shape(), Qt::BitmapCursor);
  QCOMPARE(link.cursor().hotSpot(), QPoint(6, 0));
}

int RunLinkStaticTests(int argc, char** argv) {
  LinkStaticTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "LinkStaticTest.moc"
