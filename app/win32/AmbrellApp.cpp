#include "app/win32/AmbrellApp.h"

#include "app/win32/AmbrellDlg.h"

bool CAmbrellApp::InitInstance() {
  CAmbrellDlg dialog;
  dialog.DoModal();
  return false;
}
