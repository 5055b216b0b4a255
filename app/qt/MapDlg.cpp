#include "app/qt/MapDlg.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>
#include <QToolTip>

#include "app/AppTexts.h"
#include "app/qt/MapPainter.h"

namespace {

constexpr int kStartWidth = 800;
constexpr int kStartHeight = 500;

QRect RectOf(const MapRect& rect) { return QRect(rect.left, rect.top, rect.Width(), rect.Height()); }

}  // namespace

MapDlg::MapDlg(QWidget* parent, std::shared_ptr<const DisplayText> display,
               std::shared_ptr<NumberLocale> locale, int unit, FolderSelector select)
    : QDialog(parent), m_state(std::move(display), std::move(locale), unit), m_select(std::move(select)) {
  setWindowTitle(QStringLiteral(AMBRELL_TEXT_MAP_CAPTION));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(kStartWidth, kStartHeight);
}

void MapDlg::ShowFolder(const TreeView& tree, TreeItem folder, SharedScanSession session) {
  LayOut();
  m_state.Show(tree, folder, std::move(session));
  ShowChange();
}

void MapDlg::DropScan() {
  m_state.Drop();
  ShowChange();
}

void MapDlg::OnScanEnded(const TreeView& tree, SharedScanSession session) {
  if (m_state.Path().empty()) return;  // closed meanwhile
  if (m_state.Remap(tree, std::move(session))) {
    ShowChange();
  } else {
    close();
  }
}

void MapDlg::SetUnit(int unit) {
  m_state.SetUnit(unit);
  update();
}

// However it closes (Escape, the close box, the main dialog going), it lets the scan go.
void MapDlg::done(int result) {
  QToolTip::hideText();
  m_state.Forget();
  QDialog::done(result);
}

void MapDlg::LayOut() { m_state.Layout(MapRect{0, 0, width(), height()}, fontMetrics().height()); }

void MapDlg::ShowChange() {
  const std::string title = m_state.Title();
  setWindowTitle(title.empty() ? QStringLiteral(AMBRELL_TEXT_MAP_CAPTION) : QString::fromStdString(title));
  update();
}

void MapDlg::resizeEvent(QResizeEvent* event) {
  LayOut();
  QDialog::resizeEvent(event);
}

void MapDlg::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  PaintMap(painter, m_state, fontMetrics());
}

bool MapDlg::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QDialog::event(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const std::size_t index = m_state.IsMapping() ? m_state.Map().BlockAt(help->x(), help->y()) : kNoBlock;
  if (index == kNoBlock) {
    QToolTip::hideText();
    event->ignore();
    return true;
  }
  // Kept while the mouse stays on the block; the next block asks again.
  // As plain text: a name may look like markup.
  const QString text = Qt::convertFromPlainText(
      QString::fromStdString(m_state.HoverText(help->x(), help->y())), Qt::WhiteSpacePre);
  QToolTip::showText(help->globalPos(), text, this, RectOf(m_state.Map().Blocks()[index].pixels));
  return true;
}

void MapDlg::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QDialog::mousePressEvent(event);
  const QPoint at = event->position().toPoint();
  const TreeItem folder = m_state.FolderAt(at.x(), at.y());
  if (folder != kNoItem && m_select) m_select(folder);
}

void MapDlg::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QDialog::mouseDoubleClickEvent(event);
  const QPoint at = event->position().toPoint();
  if (m_state.ZoomIn(at.x(), at.y())) ShowChange();
}

void MapDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Backspace) return QDialog::keyPressEvent(event);
  if (m_state.ZoomOut()) ShowChange();
}
