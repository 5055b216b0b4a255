#pragma once
// The About box: the program icon, name, version and notice, and the home
// page as a link. Modal; OK, Enter, Escape and the close box end it.

#include <QDialog>

class CLinkStatic;
class DialogUnits;
class QLabel;
class QPushButton;

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);

  CLinkStatic* Link() const { return m_homePage; }

 private:
  // Fixed places in dialog units, the same as the Windows program's template,
  // so both About boxes have the same proportions.
  void AddIcon(const DialogUnits& units);
  void AddVersionText(const DialogUnits& units);
  void AddHomePage(const DialogUnits& units);
  void AddOkButton(const DialogUnits& units);

  CLinkStatic* m_homePage = nullptr;
};
