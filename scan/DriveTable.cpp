#include "scan/DriveTable.h"

#include <cctype>

#include "path/NameRules.h"

bool DriveTable::Add(std::string nativeRoot, std::string display) {
  if (m_drives.size() >= kMaxDrives) return false;
  const char letter = static_cast<char>(kFirstLetter + m_drives.size());
  m_drives.push_back(DriveRoot{letter, std::move(nativeRoot), std::move(display)});
  return true;
}

std::uint32_t DriveTable::Mask() const {
  std::uint32_t mask = 0;
  for (const DriveRoot& drive : m_drives) mask |= 1u << (drive.letter - 'A');
  return mask;
}

const DriveRoot* DriveTable::Find(const char* text) const {
  if (!IsDriveDesignator(text)) return nullptr;
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  for (const DriveRoot& drive : m_drives) {
    if (drive.letter == letter) return &drive;
  }
  return nullptr;
}
