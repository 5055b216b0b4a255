#include "app/qt/about/LinkStatic.h"

#include <QClipboard>
#include <QColor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QStyle>
#include <QUrl>
#include <utility>

#include "app/qt/Pictures.h"

namespace {

constexpr QRgb kLinkColour = qRgb(0, 0, 255);
// The tip of the hand's raised finger, which is where it points.
constexpr int kHandHotSpotX = 6;
constexpr int kHandHotSpotY = 0;

}  // namespace

CLinkStatic::CLinkStatic(QWidget* parent) : CLinkStatic(QString(), parent) {}

CLinkStatic::CLinkStatic(const QString& text, QWidget* parent)
    : QLabel(text, parent), m_opener(&CLinkStatic::OpenWithDesktop) {
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

bool CLinkStatic::OpenWithDesktop(const QString& text) {
  // fromUserInput also takes a bare path or a 'www.' address, as a shell would.
  return QDesktopServices::openUrl(QUrl::fromUserInput(text));
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
    if (!TryOpen(address)) {
      QGuiApplication::clipboard()->setText(address, QClipboard::Clipboard);
    }
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
