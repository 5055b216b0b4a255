#include "platform/posix/HeldFolders.h"

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

void HeldFolders::Keep(std::string_view path, SharedFd folder) {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto found = m_index.find(path);
  if (found != m_index.end()) {
    found->second->folder = std::move(folder);
    m_order.splice(m_order.begin(), m_order, found->second);
    return;
  }
  if (path.size() > m_maxKeyBytes) return;
  while (!m_order.empty() && (m_order.size() >= m_maxHeld || m_keyBytes + path.size() > m_maxKeyBytes))
    DropLeastRecent();
  m_order.push_front(Held{std::string(path), std::move(folder), Index::iterator()});
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

void HeldFolders::DropLeastRecent() {
  m_keyBytes -= m_order.back().path.size();
  m_index.erase(m_order.back().indexed);
  m_order.pop_back();
}

void HeldFolders::DropAll() {
  m_index.clear();
  m_order.clear();
  m_keyBytes = 0;
}
