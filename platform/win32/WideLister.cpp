#include "platform/win32/WideLister.h"

#include <windows.h>

#include <string>

#include "platform/win32/NativePath.h"
#include "platform/win32/WideText.h"

namespace {

bool IsDotOrDotDot(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

std::uint64_t EntrySize(const WIN32_FIND_DATAW& data) {
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

class WideListing : public DirectoryListing {
 public:
  // Takes the handle and the first entry that opening it found.
  WideListing(HANDLE find, const WIN32_FIND_DATAW& first) : m_find(find), m_data(first) {}
  WideListing(const WideListing&) = delete;
  WideListing& operator=(const WideListing&) = delete;
  ~WideListing() override { FindClose(m_find); }

  bool Next(DirectoryEntry& entry) override {
    for (;;) {
      if (m_firstPending) {
        m_firstPending = false;
      } else if (!FindNextFileW(m_find, &m_data)) {
        return false;
      }
      if (IsDotOrDotDot(m_data.cFileName)) continue;
      // A name too long for the buffer cannot happen: a UTF-16 unit takes
      // at most three UTF-8 bytes.
      WideToUtf8(m_data.cFileName, m_name, sizeof m_name);
      entry.name = m_name;
      // With FILE_ATTRIBUTE_REPARSE_POINT set, dwReserved0 holds the reparse tag.
      entry.isFolder = IsFolderToEnter(m_data.dwFileAttributes, m_data.dwReserved0);
      entry.size = EntrySize(m_data);
      return true;
    }
  }

 private:
  HANDLE m_find;
  WIN32_FIND_DATAW m_data;
  bool m_firstPending = true;
  char m_name[3 * MAX_PATH + 1];
};

}  // namespace

bool IsFolderToEnter(std::uint32_t attributes, std::uint32_t reparseTag) {
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return false;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return true;
  // No tag at all (Wine reports its links so) tells nothing: it might be a link.
  return reparseTag != 0 && !IsReparseTagNameSurrogate(reparseTag);
}

ListingResult OpenWideListing(const char* pattern) {
  ListingResult result;
  std::wstring widePattern;
  if (pattern == nullptr || !Utf8ToWide(pattern, widePattern) || widePattern.empty()) return result;

  WIN32_FIND_DATAW first;
  const HANDLE find = FindFirstFileExW(ToExtendedPath(widePattern).c_str(), FindExInfoBasic, &first,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // Only a drive root can be listed without '.' and '..'; when it is empty
    // the search finds nothing at all, which is not a failure.
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) result.status = ListingStatus::Empty;
    result.outOfHandles = error == ERROR_TOO_MANY_OPEN_FILES || error == ERROR_NO_SYSTEM_RESOURCES;
    return result;
  }
  try {
    result.listing.reset(new WideListing(find, first));
  } catch (...) {
    FindClose(find);
    throw;
  }
  result.status = ListingStatus::Opened;
  return result;
}
