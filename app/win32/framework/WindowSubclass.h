#pragma once
// A control of a dialog taken over by an object: its messages reach the
// object first, and whatever the object leaves goes on to the control's own
// procedure.

#include <windows.h>

class CWindowSubclass {
 public:
  CWindowSubclass() = default;
  virtual ~CWindowSubclass();
  CWindowSubclass(const CWindowSubclass&) = delete;
  CWindowSubclass& operator=(const CWindowSubclass&) = delete;

  // Takes over control id of dialog; false when there is no such control.
  bool SubclassDlgItem(int id, HWND dialog);
  void Unsubclass();
  HWND GetSafeHwnd() const { return m_hWnd; }

 protected:
  // One message. Returns true when handled; result is then its answer.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;

  HWND m_hWnd = nullptr;

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR object);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
};
