#pragma once
// The window of the largest files: one row a file, largest first, opened from
// the system menu and kept, hidden, when closed. Activating a row (Enter, a
// double-click, or "Open in Explorer" on its context menu) shows the file in
// Explorer.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/LargestFileRows.h"
#include "app/win32/framework/DialogBase.h"

class CLargestFilesDlg : public CDialogBase {
 public:
  using RowOpener = std::function<void(const LargestFileRow& row)>;
  explicit CLargestFilesDlg(RowOpener open);

  // The rows shown from now on; none while a scan runs.
  void ShowRows(std::vector<LargestFileRow> rows);
  std::size_t GetRowCount() const { return m_rows.size(); }
  std::string GetRowText(int row) const;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnCancel() override { ShowWindow(m_hWnd, SW_HIDE); }

 private:
  HWND List() const;
  void OpenSelected();
  void OnContextMenu(POINT screenPoint);
  void FitList();
  // Long paths scroll sideways: the list is told how wide its widest row is.
  void SetScrollWidth();

  std::vector<LargestFileRow> m_rows;
  RowOpener m_open;
};
