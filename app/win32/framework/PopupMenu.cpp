#include "app/win32/framework/PopupMenu.h"

#include "app/win32/framework/DialogBase.h"

bool CMenu::Load(int resourceId) {
  DestroyMenu();
  m_hMenu = LoadMenuA(ResourceInstance(), MAKEINTRESOURCEA(resourceId));
  return m_hMenu != nullptr;
}

void CMenu::DestroyMenu() {
  if (m_hMenu != nullptr) ::DestroyMenu(m_hMenu);
  m_hMenu = nullptr;
}

HMENU CMenu::GetSubMenu(int position) const {
  return m_hMenu != nullptr ? ::GetSubMenu(m_hMenu, position) : nullptr;
}

void TrackPopupAt(HMENU popup, POINT screenPoint, HWND owner) {
  if (popup == nullptr) return;
  // Either mouse button picks the item.
  ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, 0,
                   owner, nullptr);
}
