#include "platform/win32/SeekingDisk.h"

#include <windows.h>
#include <winioctl.h>

#include <vector>

#include "platform/win32/NativePath.h"
#include "platform/win32/WideText.h"

namespace {

bool VolumePathOf(const std::string& folder, std::wstring& volumePath) {
  std::wstring wideFolder;
  if (!Utf8ToWide(folder.c_str(), wideFolder) || wideFolder.empty()) return false;
  const std::wstring extended = ToExtendedPath(wideFolder);
  std::vector<wchar_t> buffer(extended.size() + MAX_PATH + 1);
  if (!GetVolumePathNameW(extended.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()))) return false;
  volumePath = buffer.data();
  return !volumePath.empty();
}

// Needs no access right to the volume, so no elevation either.
bool HasSeekPenalty(const std::wstring& device) {
  const HANDLE volume =
      CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (volume == INVALID_HANDLE_VALUE) return false;
  STORAGE_PROPERTY_QUERY query{};
  query.PropertyId = StorageDeviceSeekPenaltyProperty;
  query.QueryType = PropertyStandardQuery;
  DEVICE_SEEK_PENALTY_DESCRIPTOR answer{};
  DWORD returned = 0;
  const BOOL asked = DeviceIoControl(volume, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &answer,
                                     sizeof answer, &returned, nullptr);
  CloseHandle(volume);
  return asked && returned >= sizeof answer && answer.IncursSeekPenalty;
}

}  // namespace

std::wstring VolumeDeviceOf(const std::wstring& volumePath) {
  std::wstring device = volumePath;
  if (!device.empty() && device.back() == L'\\') device.pop_back();
  if (device.compare(0, 4, L"\\\\?\\") == 0) {
    // '\\?\C:' is a drive's volume as well as '\\?\Volume{...}'.
    if (device.size() == 6 && device[5] == L':') return L"\\\\.\\" + device.substr(4);
    return device;
  }
  if (device.size() == 2 && device[1] == L':') return L"\\\\.\\" + device;
  return device;
}

bool IsOnSeekingDisk(const std::string& folder) {
  std::wstring volumePath;
  return VolumePathOf(folder, volumePath) && HasSeekPenalty(VolumeDeviceOf(volumePath));
}
