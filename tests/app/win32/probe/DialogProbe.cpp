// ambrell-dialog-probe: runs the real main dialog over the machine's fixed
// drives until its first scan has ended and every label is written, then
// prints the time that took and, unless told not to, the labelled tree. For
// the end-to-end test and the benchmark; the program itself has no such hook.
//
//   ambrell-dialog-probe [--unit bytes|kilobytes|megabytes|gigabytes] [--no-tree]
//                        [--expand DRIVE] [--largest-first] [--compare FILE] [--map DRIVE]
//                        [--linger MS]
//
// --expand opens every folder of one drive ('T:') and selects it; --largest-first
// checks Sort by Size and opens the largest files' window beside the dialog; --compare
// compares the tree with a saved scan, as the system menu's item does; --map selects a
// drive and opens its map beside the dialog; --linger
// keeps the dialog on screen that long afterwards (for a screenshot).

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/win32/AmbrellDlg.h"
#include "res/resource.h"
#include "scan/SizeLabels.h"
#include "scan/TreeWalk.h"

namespace {

struct ProbeOptions {
  int unit = kDefaultUnit;
  bool printTree = true;
  std::string expandDrive;
  bool largestFirst = false;
  std::string compareFile;
  std::string mapDrive;
  DWORD lingerMs = 0;
};

bool ParseUnit(const char* text, int& unit) {
  for (int index = 0; index < kUnitCount; ++index) {
    if (_stricmp(text, kSizeUnits[index].name) == 0) {
      unit = index;
      return true;
    }
  }
  return false;
}

bool ParseOptions(int argc, char** argv, ProbeOptions& options) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--no-tree") == 0) {
      options.printTree = false;
      continue;
    }
    if (std::strcmp(argv[i], "--largest-first") == 0) {
      options.largestFirst = true;
      continue;
    }
    if (i + 1 == argc) return false;
    const char* value = argv[++i];
    if (std::strcmp(argv[i - 1], "--unit") == 0) {
      if (!ParseUnit(value, options.unit)) return false;
    } else if (std::strcmp(argv[i - 1], "--expand") == 0) {
      options.expandDrive = value;
    } else if (std::strcmp(argv[i - 1], "--compare") == 0) {
      options.compareFile = value;
    } else if (std::strcmp(argv[i - 1], "--map") == 0) {
      options.mapDrive = value;
    } else if (std::strcmp(argv[i - 1], "--linger") == 0) {
      options.lingerMs = static_cast<DWORD>(std::strtoul(value, nullptr, 10));
    } else {
      return false;
    }
  }
  return true;
}

void PumpUntilScanEnded(const CAmbrellDlg& dialog) {
  MSG message;
  while (dialog.GetScanThread() != nullptr && GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// Picks a unit the way the user does: the list's selection, then its notice.
void PickUnit(const CAmbrellDlg& dialog, int unit) {
  const HWND units = GetDlgItem(dialog.GetSafeHwnd(), IDC_UNITS);
  SendMessageA(units, CB_SETCURSEL, static_cast<WPARAM>(unit), 0);
  SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_UNITS, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(units));
}

void ExpandDrive(const FolderTreeIndex& tree, const std::string& drive) {
  for (TreeItem item = tree.GetRootItem(); item != kNoItem; item = tree.GetNextSiblingItem(item)) {
    if (tree.GetItemText(item).rfind(drive + " ", 0) != 0) continue;
    const HWND control = tree.Control().GetSafeHwnd();
    SendMessageA(control, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(tree.NativeOf(item)));
    const TreeItem driveItem = item;
    WalkPreOrder(tree, [&](TreeItem folder) {
      for (TreeItem up = folder; up != kNoItem; up = tree.GetParentItem(up)) {
        if (up == driveItem) {
          SendMessageA(control, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(tree.NativeOf(folder)));
        }
      }
    });
    SetFocus(control);
  }
}

// As the user chooses the items from the system menu.
void ShowLargestFirst(CAmbrellDlg& dialog) {
  SendMessageA(dialog.GetSafeHwnd(), WM_SYSCOMMAND, IDM_SORT_BY_SIZE, 0);
  SendMessageA(dialog.GetSafeHwnd(), WM_SYSCOMMAND, IDM_LARGEST_FILES, 0);
  RECT main;
  GetWindowRect(dialog.GetSafeHwnd(), &main);
  SetWindowPos(dialog.GetLargestFiles().GetSafeHwnd(), nullptr, main.right + 8, main.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
}

// The file box answers with the file.
void CompareWith(CAmbrellDlg& dialog, const std::string& file) {
  dialog.SetFileChooser([file](HWND, SavedScanChoice) { return std::vector<std::string>{file}; });
  SendMessageA(dialog.GetSafeHwnd(), WM_SYSCOMMAND, IDM_COMPARE, 0);
}

constexpr int kMapWidth = 900;
constexpr int kMapHeight = 600;

void ShowMap(CAmbrellDlg& dialog, const std::string& drive) {
  const FolderTreeIndex& tree = dialog.GetTree();
  for (TreeItem item = tree.GetRootItem(); item != kNoItem; item = tree.GetNextSiblingItem(item)) {
    if (tree.GetItemText(item).rfind(drive + " ", 0) != 0) continue;
    SendMessageA(tree.Control().GetSafeHwnd(), TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(tree.NativeOf(item)));
  }
  SendMessageA(dialog.GetSafeHwnd(), WM_SYSCOMMAND, IDM_SHOW_MAP, 0);
  RECT main;
  GetWindowRect(dialog.GetSafeHwnd(), &main);
  SetWindowPos(dialog.GetMap().GetSafeHwnd(), nullptr, main.right + 8, main.top, kMapWidth, kMapHeight,
               SWP_NOZORDER);
}

void Linger(DWORD milliseconds) {
  const DWORD started = GetTickCount();
  MSG message;
  while (GetTickCount() - started < milliseconds) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

std::size_t PrintTree(const FolderTreeIndex& tree, bool print) {
  std::size_t items = 0;
  WalkPreOrder(tree, [&](TreeItem item) {
    ++items;
    if (!print) return;
    std::string line;
    for (TreeItem up = tree.GetParentItem(item); up != kNoItem; up = tree.GetParentItem(up)) line += "  ";
    line += tree.GetItemText(item);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
  });
  return items;
}

}  // namespace

int main(int argc, char** argv) {
  ProbeOptions options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: ambrell-dialog-probe [--unit bytes|kilobytes|megabytes|gigabytes] [--no-tree]\n"
                 "                            [--expand DRIVE] [--largest-first] [--compare FILE]\n"
                 "                            [--map DRIVE] [--linger MS]\n");
    return 2;
  }
  try {
    const auto started = std::chrono::steady_clock::now();
    CAmbrellDlg dialog;
    if (!dialog.Create()) {
      std::fprintf(stderr, "ambrell-dialog-probe: the dialog could not be created\n");
      return 1;
    }
    PumpUntilScanEnded(dialog);
    const auto elapsed = std::chrono::steady_clock::now() - started;
    if (options.unit != dialog.GetUnit()) PickUnit(dialog, options.unit);
    const std::size_t items = PrintTree(dialog.GetTree(), options.printTree);
    std::fflush(stdout);
    std::fprintf(stderr, "ambrell-dialog-probe: %zu folders labelled in %.3f s\n", items,
                 std::chrono::duration<double>(elapsed).count());
    if (!options.expandDrive.empty()) ExpandDrive(dialog.GetTree(), options.expandDrive);
    if (options.largestFirst) ShowLargestFirst(dialog);
    if (!options.compareFile.empty()) CompareWith(dialog, options.compareFile);
    if (!options.mapDrive.empty()) ShowMap(dialog, options.mapDrive);
    Linger(options.lingerMs);
    return 0;
  } catch (...) {
    std::fprintf(stderr, "ambrell-dialog-probe: out of memory\n");
    return 1;
  }
}
