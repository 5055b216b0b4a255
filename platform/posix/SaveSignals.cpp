#include "platform/posix/SaveSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace {

// The handler may only read what it finds here: an open folder and a name in
// fixed storage, published by storing the folder last.
constexpr int kSlots = 64;
constexpr int kFree = -1;
constexpr int kClaimed = -2;

struct Slot {
  std::atomic<int> folder{kFree};
  char name[256];
};
Slot g_slots[kSlots];

const int kCleanedSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr std::size_t kCleanedCount = sizeof kCleanedSignals / sizeof kCleanedSignals[0];

std::mutex g_mutex;
int g_activeSaves = 0;
struct sigaction g_previous[kCleanedCount];
bool g_installed[kCleanedCount];
struct sigaction g_previousFileSize;

extern "C" void RemoveTemporaryFilesAndEnd(int signal) {
  for (Slot& slot : g_slots) {
    const int folder = slot.folder.load();
    if (folder >= 0) unlinkat(folder, slot.name, 0);
  }
  // The program ends as it would have without us.
  ::signal(signal, SIG_DFL);
  raise(signal);
}

void InstallHandlers() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &g_previousFileSize);

  struct sigaction cleanup {};
  cleanup.sa_handler = RemoveTemporaryFilesAndEnd;
  sigemptyset(&cleanup.sa_mask);
  for (std::size_t i = 0; i < kCleanedCount; ++i) {
    g_installed[i] = false;
    if (sigaction(kCleanedSignals[i], nullptr, &g_previous[i]) != 0) continue;
    if (g_previous[i].sa_handler != SIG_DFL || (g_previous[i].sa_flags & SA_SIGINFO) != 0) continue;
    g_installed[i] = sigaction(kCleanedSignals[i], &cleanup, nullptr) == 0;
  }
}

void RestoreHandlers() {
  for (std::size_t i = 0; i < kCleanedCount; ++i) {
    if (g_installed[i]) sigaction(kCleanedSignals[i], &g_previous[i], nullptr);
  }
  sigaction(SIGXFSZ, &g_previousFileSize, nullptr);
}

int ClaimSlot() {
  for (int i = 0; i < kSlots; ++i) {
    int expected = kFree;
    if (g_slots[i].folder.compare_exchange_strong(expected, kClaimed)) return i;
  }
  return -1;
}

}  // namespace

SaveSignalGuard::SaveSignalGuard() : m_slot(ClaimSlot()) {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_activeSaves++ == 0) InstallHandlers();
}

void SaveSignalGuard::Cover(int folderFd, const std::string& name) {
  if (m_slot < 0 || name.size() >= sizeof g_slots[0].name) return;
  g_slots[m_slot].folder.store(kClaimed);  // the handler never reads a name half written
  std::memcpy(g_slots[m_slot].name, name.c_str(), name.size() + 1);
  g_slots[m_slot].folder.store(folderFd);
}

SaveSignalGuard::~SaveSignalGuard() {
  if (m_slot >= 0) g_slots[m_slot].folder.store(kFree);
  std::lock_guard<std::mutex> lock(g_mutex);
  if (--g_activeSaves == 0) RestoreHandlers();
}
