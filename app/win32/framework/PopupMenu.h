#pragma once
// A menu loaded from the program's resources, whose first pop-up is tracked at
// a point; the loaded menu goes with the object.

#include <windows.h>

class CMenu {
 public:
  CMenu() = default;
  ~CMenu() { DestroyMenu(); }
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  bool Load(int resourceId);
  void DestroyMenu();
  // The pop-up at position; null when there is none.
  HMENU GetSubMenu(int position) const;

 private:
  HMENU m_hMenu = nullptr;
};

// Tracks a pop-up with its top-left corner at a screen point; a chosen command
// reaches owner as WM_COMMAND. Returns when the menu has closed.
void TrackPopupAt(HMENU popup, POINT screenPoint, HWND owner);
