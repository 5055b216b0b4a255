#include "app/win32/framework/DialogBase.h"

#include <commctrl.h>

#include "app/win32/framework/HandledWithoutThrowing.h"

namespace {

// The tree view and the other common controls must be registered before a
// template that names them can be created.
void RegisterCommonControls() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)registered;
}

// Messages whose answer is the dialog procedure's return value itself rather
// than DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}

}  // namespace

HINSTANCE ResourceInstance() { return GetModuleHandleA(nullptr); }

CDialogBase::CDialogBase(int templateId) : m_templateId(templateId) {}

CDialogBase::~CDialogBase() { Destroy(); }

INT_PTR CDialogBase::DoModal(HWND owner) {
  RegisterCommonControls();
  m_modal = true;
  m_ended = false;
  return DialogBoxParamA(ResourceInstance(), MAKEINTRESOURCEA(m_templateId), owner, &DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

bool CDialogBase::Create(HWND owner) {
  RegisterCommonControls();
  m_modal = false;
  m_ended = false;
  return CreateDialogParamA(ResourceInstance(), MAKEINTRESOURCEA(m_templateId), owner, &DialogProc,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialogBase::EndDialog(int result) {
  m_ended = true;
  m_result = result;
  if (m_modal) {
    ::EndDialog(m_hWnd, result);
  } else {
    Destroy();
  }
}

void CDialogBase::Destroy() {
  if (m_hWnd != nullptr) ::DestroyWindow(m_hWnd);
}

BOOL CDialogBase::OnInitDialog() {
  UpdateData(false);
  return TRUE;
}

void CDialogBase::DoDataExchange(bool) {}

bool CDialogBase::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      result = OnInitDialog();
      return true;
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return false;
      if (LOWORD(wParam) == IDOK)
        OnOK();
      else if (LOWORD(wParam) == IDCANCEL)
        OnCancel();
      else
        return false;
      result = 0;
      return true;
    case WM_CTLCOLORSTATIC: {
      // A control that colours itself answers with a brush; otherwise the default.
      const HWND control = reinterpret_cast<HWND>(lParam);
      result = SendMessageA(control, kReflectedCtlColor, wParam, CTLCOLOR_STATIC);
      return result != 0;
    }
    default:
      return false;
  }
}

INT_PTR CALLBACK CDialogBase::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<CDialogBase*>(lParam);
    dialog->m_hWnd = window;
    SetWindowLongPtrA(window, DWLP_USER, lParam);
  }
  auto* dialog = reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(window, DWLP_USER));
  if (dialog == nullptr) return FALSE;
  const INT_PTR answer = dialog->Dispatch(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, DWLP_USER, 0);
    dialog->m_hWnd = nullptr;
  }
  return answer;
}

INT_PTR CDialogBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!HandledWithoutThrowing([&] { return OnMessage(message, wParam, lParam, result); })) return FALSE;
  if (AnswersDirectly(message)) return static_cast<INT_PTR>(result);
  if (m_hWnd != nullptr) SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
  return TRUE;
}
