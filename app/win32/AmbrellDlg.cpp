#include "app/win32/AmbrellDlg.h"

#include <windowsx.h>

#include <utility>

#include "app/win32/ScanThread.h"
#include "app/win32/framework/ImageList.h"
#include "res/resource.h"
#include "scan/SizeLabels.h"

namespace {

HICON LoadProgramIcon(int widthMetric, int heightMetric) {
  return static_cast<HICON>(LoadImageA(ResourceInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                       GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric),
                                       LR_DEFAULTCOLOR));
}

bool IsColourScreen() {
  const HDC screen = GetDC(nullptr);
  if (screen == nullptr) return false;
  const bool colour = GetDeviceCaps(screen, BITSPIXEL) >= 8;
  ReleaseDC(nullptr, screen);
  return colour;
}

}  // namespace

CAmbrellDlg::CAmbrellDlg(AmbrellServices services, HWND parent)
    : CAmbrellDlg(std::move(services), SavedScanSet{}, parent) {}

CAmbrellDlg::CAmbrellDlg(AmbrellServices services, SavedScanSet saved, HWND parent)
    : CDialogBase(IDD_MAIN),
      m_nUnit(kDefaultUnit),
      m_hIcon(LoadProgramIcon(SM_CXICON, SM_CYICON)),
      m_hSmallIcon(LoadProgramIcon(SM_CXSMICON, SM_CYSMICON)),
      m_bShowGrip(true),
      m_rcGrip{},
      m_hThread(nullptr),
      m_hAbortEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      m_parent(parent),
      m_services(std::move(services)),
      m_scan(*this, m_origin.Names(), m_services.locale, m_nUnit),
      m_chooseFiles(ChooseSavedScanFiles) {
  if (!saved.files.empty()) m_origin.ShowSaved(std::move(saved));
}

CAmbrellDlg::~CAmbrellDlg() {
  Destroy();
  if (m_hIcon != nullptr) DestroyIcon(m_hIcon);
  if (m_hSmallIcon != nullptr) DestroyIcon(m_hSmallIcon);
  if (m_hAbortEvent != nullptr) CloseHandle(m_hAbortEvent);
}

bool CAmbrellDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_SYSCOMMAND:
      return OnSysCommand(static_cast<UINT>(wParam));
    case WM_PAINT:
      OnPaint();
      return true;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(m_hSmallIcon);
      return true;
    case WM_NCHITTEST:
      result = OnNcHitTest(lParam);
      return true;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
      return true;
    case WM_SIZE:
      OnSize(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return true;
    case WM_SETCURSOR:
      result = TRUE;
      return OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam));
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return false;
    case WM_CONTEXTMENU:
      return OnContextMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_COMMAND:
      if (OnCommand(LOWORD(wParam), HIWORD(wParam))) return true;
      break;
    case WM_TIMER:
      m_scan.OnHandOverTimer();
      return true;
    case WM_SCANCOMPLETE:
      OnScanComplete();
      return true;
    case WM_INSERTBATCH:
      result = OnInsertBatchMessage(lParam) ? kBatchTaken : 0;
      return true;
    case WM_DESTROY:
      OnDestroy();
      return true;
    default:
      if (message != 0 && message == m_taskbar.ButtonCreatedMessage()) {
        m_taskbar.OnButtonCreated(m_hWnd);
        return true;
      }
      break;
  }
  return CDialogBase::OnMessage(message, wParam, lParam, result);
}

bool CAmbrellDlg::OnCommand(WORD id, WORD code) {
  if (id == IDC_REFRESH && code == BN_CLICKED) {
    OnRefresh();
  } else if (id == IDC_CLOSE && code == BN_CLICKED) {
    EndDialog(IDOK);
  } else if (id == IDC_UNITS && code == CBN_SELCHANGE) {
    OnSelchangeUnits();
  } else if (id == ID_OPEN_IN_EXPLORER) {
    OnOpenInExplorer();
  } else {
    return false;
  }
  return true;
}

BOOL CAmbrellDlg::OnInitDialog() {
  // Before data exchange selects the unit: the template cannot carry the entries.
  FillUnitList();
  CDialogBase::OnInitDialog();
  AddAboutItem();
  SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
  InitImageList();
  StartScan();
  return TRUE;
}

void CAmbrellDlg::FillUnitList() {
  const HWND units = GetDlgItem(IDC_UNITS);
  for (const SizeUnit& unit : kSizeUnits)
    SendMessageA(units, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(unit.name));
}

void CAmbrellDlg::DoDataExchange(bool saveAndValidate) {
  const HWND units = GetDlgItem(IDC_UNITS);
  if (!saveAndValidate) {
    m_tree.Attach(GetDlgItem(IDC_TREE));
    SendMessageA(units, CB_SETCURSEL, static_cast<WPARAM>(m_nUnit), 0);
    return;
  }
  // A list with nothing selected keeps the unit: every label indexes the unit table with it.
  const LRESULT selected = SendMessageA(units, CB_GETCURSEL, 0, 0);
  if (selected >= 0 && selected < kUnitCount) m_nUnit = static_cast<int>(selected);
}

// The saved scan and order items, then the About item last, each group after a separator.
void CAmbrellDlg::AddAboutItem() {
  const HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE);
  if (systemMenu == nullptr) return;
  AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
  AppendSystemMenuItem(systemMenu, IDS_OPEN_SAVED_SCAN, IDM_OPEN_SAVED_SCAN);
  AppendSystemMenuItem(systemMenu, IDS_SAVE_SCAN, IDM_SAVE_SCAN);
  AppendSystemMenuItem(systemMenu, IDS_SORT_BY_SIZE, IDM_SORT_BY_SIZE);
  AppendSystemMenuItem(systemMenu, IDS_LARGEST_FILES, IDM_LARGEST_FILES);
  AppendSystemMenuItem(systemMenu, IDS_REFRESH_FOLDER, IDM_REFRESH_FOLDER);
  AppendSystemMenuItem(systemMenu, IDS_SHOW_MAP, IDM_SHOW_MAP);
  AppendSystemMenuItem(systemMenu, IDS_COMPARE, IDM_COMPARE);
  AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
  AppendSystemMenuItem(systemMenu, IDS_ABOUTBOX, IDM_ABOUTBOX);
}

void CAmbrellDlg::AppendSystemMenuItem(HMENU systemMenu, int textId, UINT command) {
  char text[256] = {};
  if (LoadStringA(ResourceInstance(), textId, text, sizeof text) > 0)
    AppendMenuA(systemMenu, MF_STRING, command, text);
}

void CAmbrellDlg::InitImageList() {
  const bool colour = IsColourScreen();
  CImageList images;
  images.Create(16, 16, colour ? (ILC_COLOR16 | ILC_MASK) : (ILC_COLOR4 | ILC_MASK), 2, 0);
  const HBITMAP pictures =
      LoadBitmapA(ResourceInstance(), MAKEINTRESOURCEA(colour ? IDB_FOLDERS : IDB_FOLDERS16));
  images.AddMasked(pictures, RGB(255, 0, 255));
  m_tree.SetImageList(images.Detach());
  if (pictures != nullptr) DeleteObject(pictures);
}

void EnableDlgControl(HWND dialog, int controlId, bool enable) {
  const HWND control = GetDlgItem(dialog, controlId);
  if (!enable && GetFocus() == control) SendMessageA(dialog, WM_NEXTDLGCTL, 0, 0);
  EnableWindow(control, enable ? TRUE : FALSE);
}
