#include "app/qt/LargestFilesDlg.h"

#include <QListWidget>
#include <QMenu>
#include <QVBoxLayout>

#include "app/AppTexts.h"

namespace {
constexpr int kStartWidth = 640;
constexpr int kStartHeight = 400;
}  // namespace

LargestFilesDlg::LargestFilesDlg(QWidget* parent, RowOpener open, MenuTracker trackMenu)
    : QDialog(parent),
      m_list(new QListWidget(this)),
      m_open(std::move(open)),
      m_trackMenu(std::move(trackMenu)) {
  setWindowTitle(QStringLiteral(AMBRELL_TEXT_LARGEST_FILES_CAPTION));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_list);
  m_list->setUniformItemSizes(true);
  m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_list->setContextMenuPolicy(Qt::CustomContextMenu);
  // Enter and a double-click, as the platform activates an item.
  connect(m_list, &QListWidget::activated, this, [this](const QModelIndex& index) { OpenRow(index.row()); });
  connect(m_list, &QListWidget::customContextMenuRequested, this, &LargestFilesDlg::ShowContextMenu);
  resize(kStartWidth, kStartHeight);
}

void LargestFilesDlg::ShowRows(std::vector<LargestFileRow> rows) {
  m_rows = std::move(rows);
  const int current = m_list->currentRow();
  m_list->clear();
  for (const LargestFileRow& row : m_rows) m_list->addItem(QString::fromStdString(row.label));
  // A new unit keeps the row the user was on.
  if (current >= 0 && current < m_list->count()) m_list->setCurrentRow(current);
}

void LargestFilesDlg::OpenRow(int row) {
  if (row >= 0 && static_cast<std::size_t>(row) < m_rows.size() && m_open)
    m_open(m_rows[static_cast<std::size_t>(row)]);
}

void LargestFilesDlg::ShowContextMenu(const QPoint& listPoint) {
  QListWidgetItem* item = m_list->itemAt(listPoint);
  if (item == nullptr) return;
  m_list->setCurrentItem(item);
  const int row = m_list->row(item);
  QMenu menu(this);
  menu.addAction(QStringLiteral(AMBRELL_TEXT_OPEN_IN_EXPLORER), this, [this, row] { OpenRow(row); });
  m_trackMenu(menu, m_list->viewport()->mapToGlobal(listPoint));
}
