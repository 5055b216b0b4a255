#pragma once
// The map window: the selected folder's subfolders as nested blocks, painted
// with GDI over MapWindowState, which decides what is shown. Modeless, on the
// dialog's thread, and hidden rather than destroyed when closed. A click
// selects the folder in the main tree, a double-click maps it, Backspace maps
// the parent, Escape closes; a tooltip follows the mouse with the path and
// total of the block under it.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/MapWindowState.h"
#include "app/win32/framework/DialogBase.h"

class CMapDlg : public CDialogBase {
 public:
  using FolderSelector = std::function<void(TreeItem folder)>;

  CMapDlg(std::shared_ptr<const DisplayText> display, std::shared_ptr<NumberLocale> locale, int unit,
          FolderSelector select);

  // Maps the tree's folder, keeping the session while it shows it.
  void ShowFolder(const TreeView& tree, TreeItem folder, SharedScanSession session);
  // A scan starts: nothing is shown and nothing of the scan held but the path.
  void DropScan();
  // A scan ended: the same path mapped again, or the window closed when it is gone.
  void OnScanEnded(const TreeView& tree, SharedScanSession session);
  void SetUnit(int unit);
  const MapWindowState& State() const { return m_state; }
  bool IsOpen() const;
  // What the tooltip says now.
  const std::string& HoverText() const { return m_hoverText; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnCancel() override;

 private:
  void OnInit();
  void LayOut();
  void ShowChange();
  void OnPaint();
  void OnMouseMove(int x, int y);
  void OnClick(int x, int y);
  void OnDoubleClick(int x, int y);
  void OnKeyDown(WPARAM key);

  MapWindowState m_state;
  FolderSelector m_select;
  HWND m_tooltip = nullptr;
  std::string m_hoverText;
  int m_lineHeight = 0;
};
