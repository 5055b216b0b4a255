// The dialog's layout: placed in dialog units as the Windows template places
// it, then kept on resizing with the margins measured from that first layout.

#include <QComboBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QSizeGrip>
#include <algorithm>

#include "app/qt/AmbrellDlg.h"
#include "app/qt/DialogUnits.h"
#include "app/qt/FolderTree.h"

namespace {

constexpr int kMinimumOuterSize = 250;  // pixels, frame and caption included

}  // namespace

void CAmbrellDlg::PlaceControlsFromTemplate() {
  const DialogUnits units(font());
  resize(units.X(280), units.Y(235));
  m_tree->setGeometry(units.ToPixels(7, 7, 266, 200));
  // A drop-down list is as high as its closed box, whatever the template's
  // dropped height says.
  m_units->setGeometry(units.X(7), units.Y(214), units.X(65), m_units->sizeHint().height());
  m_refresh->setGeometry(units.ToPixels(166, 214, 50, 14));
  m_close->setGeometry(units.ToPixels(223, 214, 50, 14));
  m_grip->resize(m_grip->sizeHint());
  m_grip->move(width() - m_grip->width(), height() - m_grip->height());
}

void CAmbrellDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  UpdateMinimumSize();
}

void CAmbrellDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  OnSize(event->size().width(), event->size().height());
}

void CAmbrellDlg::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) {
    // The grip would size nothing while the window fills the screen.
    m_grip->setVisible(!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)));
  }
}

// The tree follows the window; the unit list keeps the bottom left, the
// buttons the bottom right, all with the margins of the first layout.
void CAmbrellDlg::OnSize(int cx, int cy) {
  if (!isVisible()) return;  // the template's layout stands until the first real resize
  if (m_margins.x() == 0) {
    m_margins = m_tree->geometry().topLeft();
    m_buttonHeight = m_close->height();
  }
  const int mx = m_margins.x();
  const int my = m_margins.y();
  const int rowTop = cy - my - m_buttonHeight;
  m_tree->resize(std::max(0, cx - 2 * mx), std::max(0, cy - 2 * my - m_buttonHeight - m_tree->y()));
  m_units->move(m_units->x(), rowTop);
  m_refresh->move(cx - 2 * mx - 2 * m_refresh->width(), rowTop);
  m_close->move(cx - mx - m_close->width(), rowTop);
  m_grip->move(cx - m_grip->width(), cy - m_grip->height());
  m_grip->raise();
  UpdateMinimumSize();
}

// The least size is the window's outer size; the frame the window manager
// adds is known only once the window is shown.
void CAmbrellDlg::UpdateMinimumSize() {
  const QSize frame = frameGeometry().size() - geometry().size();
  setMinimumSize(std::max(0, kMinimumOuterSize - frame.width()), std::max(0, kMinimumOuterSize - frame.height()));
}
