#pragma once
// The About box: the program's icon, name and version, and its home page as a link.

#include "app/win32/LinkStatic.h"
#include "app/win32/framework/DialogBase.h"

class CAboutDlg : public CDialogBase {
 public:
  CAboutDlg();

  const CLinkStatic& GetHomePageLink() const { return m_homePage; }

 protected:
  void DoDataExchange(bool saveAndValidate) override;

 private:
  CLinkStatic m_homePage;
};
