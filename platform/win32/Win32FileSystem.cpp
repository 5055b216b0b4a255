#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <string>
#include <utility>

#include "platform/win32/WideLister.h"

Win32FileSystem::Win32FileSystem(DriveTable folders) : m_useFolders(true), m_folders(std::move(folders)) {}

std::uint32_t Win32FileSystem::GetLogicalDrives() {
  return m_useFolders ? m_folders.Mask() : ::GetLogicalDrives();
}

bool Win32FileSystem::IsFixedDrive(const char* rootText) {
  if (m_useFolders) return m_folders.Find(rootText) != nullptr;
  // The root directory form, with its backslash, is what the call documents.
  const char root[4] = {rootText[0], ':', '\\', '\0'};
  return GetDriveTypeA(root) == DRIVE_FIXED;
}

bool Win32FileSystem::GetUsedBytes(const char* rootText, std::uint64_t& used) {
  if (m_useFolders) return false;
  const wchar_t root[4] = {static_cast<wchar_t>(rootText[0]), L':', L'\\', L'\0'};
  ULARGE_INTEGER freeToCaller;
  ULARGE_INTEGER total;
  ULARGE_INTEGER free;
  if (!GetDiskFreeSpaceExW(root, &freeToCaller, &total, &free) || total.QuadPart < free.QuadPart)
    return false;
  used = total.QuadPart - free.QuadPart;
  return true;
}

ListingResult Win32FileSystem::OpenListing(const char* pattern) {
  if (!m_useFolders) return OpenWideListing(pattern);
  std::string nativePattern;
  if (!MapToFolderDrive(m_folders, pattern, nativePattern)) return ListingResult{};
  return OpenWideListing(nativePattern.c_str());
}

bool MapToFolderDrive(const DriveTable& folders, const char* pattern, std::string& nativePattern) {
  const DriveRoot* drive = folders.Find(pattern);
  if (drive == nullptr) return false;
  nativePattern = drive->nativeRoot;
  // A root such as 'T:\' keeps no backslash of its own: the rest brings one.
  if (!nativePattern.empty() && nativePattern.back() == '\\') nativePattern.pop_back();
  nativePattern += pattern + 2;
  return true;
}
