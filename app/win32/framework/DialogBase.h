#pragma once
// A dialog built from a template of the program's resources: one object per
// window, a static dialog procedure that finds the object and hands it every
// message, and the exchange of control values. Runs modally, or modeless for
// whoever drives the dialog with messages (tests).

#include <windows.h>

// A colour request reflected back to the control it concerns (a WM_CTLCOLOR*
// of the parent, sent on to the child with this value) so that a control can
// colour itself.
constexpr UINT kReflectedCtlColor = 0xBC19;

class CDialogBase {
 public:
  explicit CDialogBase(int templateId);
  virtual ~CDialogBase();
  CDialogBase(const CDialogBase&) = delete;
  CDialogBase& operator=(const CDialogBase&) = delete;

  // Runs the dialog until EndDialog; the window is gone when it returns.
  INT_PTR DoModal(HWND owner = nullptr);
  // Creates the window without a loop of its own; false when that failed.
  bool Create(HWND owner = nullptr);
  // Ends a modal dialog; a modeless one is destroyed at once.
  void EndDialog(int result);
  // Destroys a modeless dialog's window.
  void Destroy();

  HWND GetSafeHwnd() const { return m_hWnd; }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  bool HasEnded() const { return m_ended; }
  int GetResult() const { return m_result; }

 protected:
  // One message. Returns true when handled; result is then its answer. This
  // one handles initialisation, OK, Cancel and the colour requests it reflects.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Runs data exchange towards the controls; the answer of WM_INITDIALOG.
  virtual BOOL OnInitDialog();
  // Binds controls and values: towards the controls, or back into the members.
  virtual void DoDataExchange(bool saveAndValidate);
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  void UpdateData(bool saveAndValidate) { DoDataExchange(saveAndValidate); }

  HWND m_hWnd = nullptr;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  int m_templateId;
  bool m_modal = false;
  bool m_ended = false;
  int m_result = 0;
};

// The module whose resources the dialogs are built from.
HINSTANCE ResourceInstance();
