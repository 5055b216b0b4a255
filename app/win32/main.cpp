#include <windows.h>

#include "app/win32/AmbrellApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    CAmbrellApp application;
    application.InitInstance();
    return application.ExitCode();
  } catch (...) {
    // Only memory can run out before the dialog runs; there is nothing to show then.
    return 1;
  }
}
