#include "app/qt/about/LinkStatic.h"

#include <QClipboard>
#include <QColor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QProcess>
#include <QStyle>
#include <utility>

#include "app/qt/Pictures.h"
#include "platform/posix/DescriptorLimit.h"

namespace {

constexpr QRgb kLinkColour = qRgb(0, 0, 255);
// The tip of the hand's raised finger, which is where it points.
constexpr int kHandHotSpotX = 6;
constexpr int kHandHotSpotY = 0;

}  // namespace

CLinkStatic::CLinkStatic(QWidget* parent) : CLinkStatic(QString(), parent) {}

CLinkStatic::CLinkStatic(const QString& text, QWidget* parent)
    : QLabel(text, parent), m_opener([this](const QString& address) { return StartOpenerProgram(address); }) {
  // The text is an address, never markup or something to select.
  setTextFormat(Qt::PlainText);
  setTextInteractionFlags(Qt::NoTextInteraction);
  setFocusPolicy(Qt::NoFocus);
  setCursor(LoadHandCursor());
}

void CLinkStatic::SetOpener(Opener opener) { m_opener = std::move(opener); }

QCursor CLinkStatic::LoadHandCursor() {
  InitPictures();
  const QPixmap hand(QStringLiteral(":/pictures/hand.png"));
  if (hand.isNull()) {
    return QCursor(Qt::PointingHandCursor);
  }
  return QCursor(hand, kHandHotSpotX, kHandHotSpotY);
}

// The program runs on its own, unparented, so that closing the About box does not
// stop it; its end decides, on the GUI thread, whether the text goes to the clipboard.
bool CLinkStatic::StartOpenerProgram(const QString& text) {
  auto* process = new QProcess();
  const QPointer<CLinkStatic> link(this);
  auto settle = [process, link, text](bool opened) {
    if (!opened) CopyToClipboard(text);
    if (link) emit link->OpenerFinished(opened);
    process->deleteLater();
  };
  connect(process, &QProcess::finished, process, [settle](int exitCode, QProcess::ExitStatus status) {
    settle(status == QProcess::NormalExit && exitCode == 0);
  });
  connect(process, &QProcess::errorOccurred, process, [settle](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) settle(false);
  });
  // The scan's raised descriptor limit is not the opener's to inherit.
  process->setChildProcessModifier(GiveOriginalDescriptorLimitToThisChild);
  process->start(m_openerProgram, {text});
  return true;
}

void CLinkStatic::CopyToClipboard(const QString& text) {
  QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

const QFont& CLinkStatic::LinkFont() {
  if (!m_linkFont) {
    QFont underlined = font();
    underlined.setUnderline(true);
    // Every attribute counts as set, so that a painter never fills one in
    // from whatever font the label has later on.
    underlined.setResolveMask(QFont::AllPropertiesResolved);
    m_linkFont = underlined;
  }
  return *m_linkFont;
}

void CLinkStatic::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  drawFrame(&painter);
  painter.setFont(LinkFont());
  QPalette linkPalette = palette();
  linkPalette.setColor(QPalette::WindowText, QColor::fromRgb(kLinkColour));
  int flags = QStyle::visualAlignment(layoutDirection(), alignment());
  if (wordWrap()) {
    flags |= Qt::TextWordWrap;
  }
  // No background: the dialog's own shows through, as under any label.
  style()->drawItemText(&painter, contentsRect(), flags, linkPalette, isEnabled(), text(),
                        QPalette::WindowText);
}

void CLinkStatic::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QLabel::mousePressEvent(event);
    return;
  }
  OpenLink();
  event->accept();
}

void CLinkStatic::OpenLink() noexcept {
  try {
    const QString address = text();
    if (!TryOpen(address)) CopyToClipboard(address);
  } catch (...) {
    // A click that can neither open nor copy leaves things as they were.
  }
}

bool CLinkStatic::TryOpen(const QString& text) noexcept {
  try {
    return m_opener && m_opener(text);
  } catch (...) {
    return false;
  }
}
