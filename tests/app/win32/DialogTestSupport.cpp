#include "tests/app/win32/DialogTestSupport.h"

#include "scan/TreeWalk.h"
#include "tests/support/TreeDump.h"

namespace {

constexpr DWORD kHangGuardMs = 60000;

void PumpPending() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

bool PumpUntil(const std::function<bool()>& done) {
  const DWORD started = GetTickCount();
  for (;;) {
    PumpPending();
    if (done()) return true;
    if (GetTickCount() - started > kHangGuardMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
}

bool WaitForIncomingSentMessage() {
  const DWORD started = GetTickCount();
  while ((GetQueueStatus(QS_SENDMESSAGE) & ((QS_SENDMESSAGE << 16) | QS_SENDMESSAGE)) == 0) {
    if (GetTickCount() - started > kHangGuardMs) return false;
    Sleep(1);
  }
  return true;
}

AmbrellServices TestServices(std::shared_ptr<MemoryFileSystem> fileSystem,
                             std::shared_ptr<RecordedProcesses> processes, std::size_t batchSize) {
  AmbrellServices services;
  services.fileSystem = std::move(fileSystem);
  services.locale = std::make_shared<FixedNumberLocale>(3, ",");
  services.display = std::make_shared<PlainDisplayText>();
  const ProcessStarter record = [processes](const CDynString& commandLine, std::uint32_t) {
    processes->commandLines.emplace_back(TextOrEmpty(commandLine));
    return std::uint32_t{0};
  };
  services.openFolder = OpenInExplorerWith(record);
  services.showFile = ShowInExplorerWith(record);
  services.openSavedDrives = SavedDrivesOpenedWith(record);
  services.insertionBatchSize = batchSize;
  return services;
}

std::string DumpLabels(const FolderTreeIndex& tree) {
  return DumpTree(tree, [&tree](TreeItem item) { return tree.GetItemText(item); });
}

TreeItem FindItem(const FolderTreeIndex& tree, const std::string& name) {
  TreeItem found = kNoItem;
  WalkPreOrder(tree, [&](TreeItem item) {
    const std::string text = tree.GetItemText(item);
    if (found == kNoItem && (text == name || text.rfind(name + "    (", 0) == 0)) found = item;
  });
  return found;
}

std::string WindowText(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

namespace {

struct WindowWanted {
  const char* className;
  const char* title;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM wantedAddress) {
  auto& wanted = *reinterpret_cast<WindowWanted*>(wantedAddress);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (wanted.className != nullptr && std::string(className) != wanted.className) return TRUE;
  if (wanted.title != nullptr && WindowText(window) != wanted.title) return TRUE;
  wanted.found = window;
  return FALSE;
}

}  // namespace

HWND FindThreadWindow(const char* className, const char* title) {
  WindowWanted wanted{className, title, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchWindow, reinterpret_cast<LPARAM>(&wanted));
  return wanted.found;
}
