#include "app/win32/framework/WindowSubclass.h"

#include <commctrl.h>

#include "app/win32/framework/HandledWithoutThrowing.h"

namespace {
constexpr UINT_PTR kSubclassId = 1;
}

CWindowSubclass::~CWindowSubclass() { Unsubclass(); }

bool CWindowSubclass::SubclassDlgItem(int id, HWND dialog) {
  const HWND control = GetDlgItem(dialog, id);
  if (control == nullptr) return false;
  Unsubclass();
  if (!SetWindowSubclass(control, &SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    return false;
  m_hWnd = control;
  return true;
}

void CWindowSubclass::Unsubclass() {
  if (m_hWnd == nullptr) return;
  RemoveWindowSubclass(m_hWnd, &SubclassProc, kSubclassId);
  m_hWnd = nullptr;
}

LRESULT CALLBACK CWindowSubclass::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                               UINT_PTR, DWORD_PTR object) {
  auto* self = reinterpret_cast<CWindowSubclass*>(object);
  if (message == WM_NCDESTROY) {
    // The control goes: it must not keep calling into this object.
    self->Unsubclass();
    return DefSubclassProc(window, message, wParam, lParam);
  }
  return self->Dispatch(message, wParam, lParam);
}

LRESULT CWindowSubclass::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandledWithoutThrowing([&] { return OnMessage(message, wParam, lParam, result); })) return result;
  return DefSubclassProc(m_hWnd, message, wParam, lParam);
}
