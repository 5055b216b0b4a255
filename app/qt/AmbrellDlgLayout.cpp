// The dialog's layout: placed in dialog units as the Windows template places
// it, then kept on resizing with the margins measured from that first layout.

#include <QComboBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QSizeGrip>
#include <algorithm>
#include <array>

#include "app/DialogLayout.h"
#include "app/qt/AmbrellDlg.h"
#include "app/qt/DialogUnits.h"
#include "app/qt/FolderTree.h"

namespace {

constexpr int kMinimumOuterSize = 250;  // pixels, frame and caption included

}  // namespace

std::array<QWidget*, dialog_layout::kMainControlCount> CAmbrellDlg::MainControls() const {
  return {m_tree, m_units, m_refresh, m_close};
}

void CAmbrellDlg::PlaceControlsFromTemplate() {
  const DialogUnits units(font());
  resize(units.X(dialog_layout::kMainDialog.cx), units.Y(dialog_layout::kMainDialog.cy));
  const auto controls = MainControls();
  for (int i = 0; i < dialog_layout::kMainControlCount; ++i) {
    controls[i]->setGeometry(units.ToPixels(dialog_layout::kMainTemplate[i]));
  }
  // A drop-down list is as high as its closed box, whatever the template's
  // dropped height says.
  m_units->resize(m_units->width(), m_units->sizeHint().height());
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

// The controls follow the size through the shared anchor table, with the margins of
// the first layout.
void CAmbrellDlg::OnSize(int cx, int cy) {
  if (!isVisible()) return;  // the template's layout stands until the first real resize
  const auto widgets = MainControls();
  dialog_layout::Rect controls[dialog_layout::kMainControlCount];
  for (int i = 0; i < dialog_layout::kMainControlCount; ++i) {
    const QRect place = widgets[i]->geometry();
    controls[i] = dialog_layout::Rect{place.x(), place.y(), place.width(), place.height()};
  }
  if (m_margins.x == 0) {
    m_margins = dialog_layout::Margins{controls[dialog_layout::kTree].x, controls[dialog_layout::kTree].y,
                                       controls[dialog_layout::kClose].cy};
  }
  dialog_layout::ApplyAnchors(controls, m_margins, cx, cy);
  for (int i = 0; i < dialog_layout::kMainControlCount; ++i) {
    const dialog_layout::Rect& place = controls[i];
    widgets[i]->setGeometry(place.x, place.y, place.cx, place.cy);
  }
  m_grip->move(cx - m_grip->width(), cy - m_grip->height());
  m_grip->raise();
  UpdateMinimumSize();
}

// The least size is the window's outer size; the frame the window manager
// adds is known only once the window is shown.
void CAmbrellDlg::UpdateMinimumSize() {
  const QSize frame = frameGeometry().size() - geometry().size();
  setMinimumSize(std::max(0, kMinimumOuterSize - frame.width()),
                 std::max(0, kMinimumOuterSize - frame.height()));
}
