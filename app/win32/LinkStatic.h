#pragma once
// A static text control turned into a link: blue underlined text, a hand
// pointer, and a click that opens the text with the shell, or puts it on the
// clipboard when the shell cannot open it.

#include <windows.h>

#include "app/win32/framework/WindowSubclass.h"

class CLinkStatic : public CWindowSubclass {
 public:
  CLinkStatic();
  ~CLinkStatic() override;

  // The underlined font, once made (at the first colour request).
  HFONT GetLinkFont() const { return m_linkFont; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  HBRUSH CtlColor(HDC dc);
  void MakeLinkFont();
  void OnLButtonDown();

  HFONT m_linkFont = nullptr;
  HCURSOR m_handCursor;
};

// Puts UTF-8 text on the clipboard as Unicode text for owner (the system offers it
// in the ANSI code page too); false when the clipboard could not be had.
bool CopyTextToClipboard(HWND owner, const char* text);
