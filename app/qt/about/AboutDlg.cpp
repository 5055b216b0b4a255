#include "app/qt/about/AboutDlg.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "app/AppTexts.h"
#include "app/qt/DialogUnits.h"
#include "app/qt/Pictures.h"
#include "app/qt/about/LinkStatic.h"

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral(AMBRELL_TEXT_ABOUT_CAPTION));
  setModal(true);
  const DialogUnits units(font());
  setFixedSize(units.X(dialog_layout::kAboutDialog.cx), units.Y(dialog_layout::kAboutDialog.cy));
  AddIcon(units);
  AddVersionText(units);
  AddHomePage(units);
  AddOkButton(units);
}

void CAboutDlg::AddIcon(const DialogUnits& units) {
  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("icon"));
  icon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  icon->setAlignment(Qt::AlignCenter);
  InitPictures();
  icon->setPixmap(QPixmap(QStringLiteral(":/pictures/ambrell-32.png")));
  icon->setGeometry(units.ToPixels(dialog_layout::kAboutIcon));
}

void CAboutDlg::AddVersionText(const DialogUnits& units) {
  auto* version = new QLabel(QStringLiteral(AMBRELL_TEXT_VERSION_LINE "\n" AMBRELL_TEXT_NOTICE_LINE), this);
  version->setObjectName(QStringLiteral("versionText"));
  version->setTextFormat(Qt::PlainText);
  version->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  version->setWordWrap(true);
  version->setGeometry(units.ToPixels(dialog_layout::kAboutVersion));
}

void CAboutDlg::AddHomePage(const DialogUnits& units) {
  m_homePage = new CLinkStatic(QStringLiteral(AMBRELL_TEXT_HOME_PAGE_LINUX), this);
  m_homePage->setObjectName(QStringLiteral("homePage"));
  m_homePage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_homePage->setGeometry(units.ToPixels(dialog_layout::kAboutHomePage));
}

void CAboutDlg::AddOkButton(const DialogUnits& units) {
  auto* ok = new QPushButton(QStringLiteral(AMBRELL_TEXT_OK), this);
  ok->setObjectName(QStringLiteral("okButton"));
  ok->setDefault(true);
  ok->setGeometry(units.ToPixels(dialog_layout::kAboutOk));
  ok->setFocus();
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
