#include "app/win32/AboutDlg.h"

#include "res/resource.h"

CAboutDlg::CAboutDlg() : CDialogBase(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(bool saveAndValidate) {
  if (!saveAndValidate) m_homePage.SubclassDlgItem(IDC_HOMEPAGE, m_hWnd);
}
