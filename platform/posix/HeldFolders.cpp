#include "platform/posix/HeldFolders.h"

#include <iterator>
#include <utility>

std::size_t HeldFolders::PathEndHash::operator()(std::string_view path) const {
  constexpr std::size_t kEnd = 64;
  const std::string_view end = path.size() > kEnd ? path.substr(path.size() - kEnd) : path;
  return std::hash<std::string_view>()(end) ^ path.size();
}

HeldFolders::HeldFolders(std::size_t maxHeld, std::size_t maxKeyBytes)
    : m_maxHeldAtStart(maxHeld < 1 ? 1 : maxHeld), m_maxHeld(m_maxHeldAtStart), m_maxKeyBytes(maxKeyBytes) {}

SharedFd HeldFolders::Find(std::string_view path) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto found = m_index.find(path);
  if (found == m_index.end()) return nullptr;
  m_order.splice(m_order.begin(), m_order, found->second);
  return found->second->folder;
}

// Every thread that lists comes here for each folder that holds folders: the entry is
// made before the lock is taken, and what it replaces is freed (its descriptor closed,
// a system call) after the lock is let go.
void HeldFolders::Keep(std::string_view path, SharedFd folder) {
  if (path.size() > m_maxKeyBytes) return;
  Order entry;
  entry.push_front(Held{std::string(path), std::move(folder), Index::iterator()});
  Order dropped;
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto found = m_index.find(path);
  if (found != m_index.end()) {
    std::swap(found->second->folder, entry.front().folder);
    m_order.splice(m_order.begin(), m_order, found->second);
    return;
  }
  while (!m_order.empty() && (m_order.size() >= m_maxHeld || m_keyBytes + path.size() > m_maxKeyBytes))
    DropLeastRecent(dropped);
  m_order.splice(m_order.begin(), entry);
  try {
    m_order.front().indexed = m_index.emplace(m_order.front().path, m_order.begin()).first;
  } catch (...) {
    m_order.pop_front();
    throw;
  }
  m_keyBytes += path.size();
}

bool HeldFolders::GiveBack() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_order.empty()) return false;
  m_maxHeld = m_order.size() > 1 ? m_order.size() / 2 : 1;
  DropAll();
  return true;
}

void HeldFolders::Clear() {
  std::lock_guard<std::mutex> lock(m_mutex);
  DropAll();
  m_maxHeld = m_maxHeldAtStart;
}

std::size_t HeldFolders::HeldCount() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_order.size();
}

void HeldFolders::DropLeastRecent(Order& dropped) {
  m_keyBytes -= m_order.back().path.size();
  m_index.erase(m_order.back().indexed);
  dropped.splice(dropped.begin(), m_order, std::prev(m_order.end()));
}

void HeldFolders::DropAll() {
  m_index.clear();
  m_order.clear();
  m_keyBytes = 0;
}
