#include <windows.h>

#include "app/win32/AmbrellApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    CAmbrellApp application;
    application.InitInstance();
  } catch (...) {
    // Only memory can run out before the dialog runs; there is nothing to show then.
    return 1;
  }
  return 0;
}
