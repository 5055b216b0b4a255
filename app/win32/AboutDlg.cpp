#include "app/win32/AboutDlg.h"

#include "app/AppTexts.h"
#include "platform/win32/ProgramFolder.h"
#include "platform/win32/WideText.h"
#include "res/resource.h"

CAboutDlg::CAboutDlg() : CDialogBase(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(bool saveAndValidate) {
  if (saveAndValidate) return;
  m_homePage.SubclassDlgItem(IDC_HOMEPAGE, m_hWnd);
  // The README shipped beside the program opens on every Windows (as text); the link
  // shows where it is. The path may hold any character: it goes in as UTF-16.
  std::wstring homePage;
  if (Utf8ToWide(FileBesideProgram(AMBRELL_README_BESIDE_PROGRAM).c_str(), homePage)) {
    SetWindowTextW(m_homePage.GetSafeHwnd(), homePage.c_str());
  }
}
