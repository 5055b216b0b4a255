#include "platform/ReplacementFile.h"

#include <windows.h>

#include <atomic>
#include <cwchar>

#include "platform/win32/NativePath.h"
#include "platform/win32/SystemErrorText.h"
#include "platform/win32/WideText.h"

namespace {

const char* const kIsFolder = "is a folder, not a file";
const char* const kIsDevice = "is a device, not a file";

// The temporary file's name takes this much of the target's name, so that it stays
// within the 255 units a name may have however long the target's is.
constexpr std::size_t kNameKept = 32;
// Names another save beside the same file holds already are passed over.
constexpr int kNameAttempts = 100;
// The old file's attributes the new one takes: a hidden file stays hidden.
constexpr DWORD kAttributesKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
// Looking at the target shares it every way: another program holding it open is no
// reason to refuse it (the rename may still be, and then says so).
constexpr DWORD kExamineShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

// The path's absolute form with the '\\?\' prefix; a reason when it names no file.
// A device name ('NUL', 'COM1', '\\.\pipe\x') is caught here, while the system still
// reads it as one: with the prefix 'C:\a\NUL' would be an ordinary name.
std::string ExtendedPathOf(const std::string& path, std::wstring& extended) {
  std::wstring wide;
  if (!Utf8ToWide(path.c_str(), wide)) return "the name is not valid UTF-8";
  if (wide.empty()) return "no file is named";
  std::wstring full = wide;
  if (!StartsWith(wide, L"\\\\?\\") && !GetFullWidePath(wide, full)) return SystemErrorText(GetLastError());
  if (StartsWith(full, L"\\\\.\\")) return kIsDevice;
  extended = ToExtendedPath(full);
  return std::string();
}

// Where the file behind a handle really is: through a link, the file it leads to.
std::wstring FinalPathOf(HANDLE handle) {
  const DWORD flags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
  const DWORD needed = GetFinalPathNameByHandleW(handle, nullptr, 0, flags);
  if (needed == 0) return std::wstring();
  std::wstring path(needed, L'\0');
  const DWORD length = GetFinalPathNameByHandleW(handle, &path[0], needed, flags);
  if (length == 0 || length >= needed) return std::wstring();
  path.resize(length);
  return path;
}

// What Open found at the path.
struct Target {
  std::wstring path;  // the file to replace: a link at the path followed
  bool exists = false;
  DWORD attributes = 0;
};

std::string DescribeOpened(HANDLE handle, Target& target) {
  if (GetFileType(handle) != FILE_TYPE_DISK) return kIsDevice;
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(handle, &information)) return SystemErrorText(GetLastError());
  if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return kIsFolder;
  target.exists = true;
  target.attributes = information.dwFileAttributes;
  const std::wstring finalPath = FinalPathOf(handle);
  if (!finalPath.empty()) target.path = finalPath;
  return std::string();
}

// A reason when the path holds something other than a file, or cannot be looked at.
std::string Examine(const std::wstring& extended, Target& target) {
  target.path = extended;
  const HANDLE handle = CreateFileW(extended.c_str(), FILE_READ_ATTRIBUTES, kExamineShare, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? std::string() : SystemErrorText(error);
  }
  const std::string reason = DescribeOpened(handle, target);
  CloseHandle(handle);
  return reason;
}

unsigned NextSerial() {
  static std::atomic<unsigned> count{0};
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return (GetCurrentProcessId() * 2654435761u) ^ static_cast<unsigned>(now.QuadPart) ^ (++count * 40503u);
}

// '.NAME.3f09c2.tmp' in the target's folder, NAME the start of the target's name.
std::wstring TemporaryPathBeside(const std::wstring& target, unsigned serial) {
  const std::size_t nameStart = target.find_last_of(L'\\') + 1;
  std::wstring name = target.substr(nameStart, kNameKept);
  // A pair cut in two would leave a name that differs from what it looks like.
  if (!name.empty() && name.back() >= 0xD800 && name.back() < 0xDC00) name.pop_back();
  wchar_t suffix[16];
  std::swprintf(suffix, sizeof suffix / sizeof suffix[0], L".%06x.tmp", serial & 0xFFFFFFu);
  return target.substr(0, nameStart) + L"." + name + suffix;
}

HANDLE CreateTemporaryBeside(const std::wstring& target, std::wstring& temporary, DWORD& error) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    temporary = TemporaryPathBeside(target, NextSerial());
    const HANDLE file =
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  temporary.clear();
  return INVALID_HANDLE_VALUE;
}

// WriteFile takes a 32-bit length.
constexpr std::size_t kLargestWrite = 1u << 30;

DWORD WriteAll(HANDLE file, const char* bytes, std::size_t length) {
  while (length > 0) {
    const DWORD part = static_cast<DWORD>(length < kLargestWrite ? length : kLargestWrite);
    DWORD written = 0;
    if (!WriteFile(file, bytes, part, &written, nullptr)) return GetLastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    bytes += written;
    length -= written;
  }
  return ERROR_SUCCESS;
}

}  // namespace

struct ReplacementFile::State {
  std::string path;  // as given, for messages
  Target target;
  std::wstring temporary;  // empty when there is none
  HANDLE file = INVALID_HANDLE_VALUE;
  DWORD writeError = ERROR_SUCCESS;

  std::string Failure(const std::string& reason) const {
    return path.empty() ? reason : path + ": " + reason;
  }
  void CloseFile() {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
  }
};

ReplacementFile::ReplacementFile() : m_state(std::make_unique<State>()) {}

ReplacementFile::~ReplacementFile() { Discard(); }

bool ReplacementFile::Open(const std::string& path, std::string& error) {
  Discard();
  State& state = *m_state;
  state = State();
  state.path = path;
  std::wstring extended;
  std::string reason = ExtendedPathOf(path, extended);
  if (reason.empty()) reason = Examine(extended, state.target);
  if (reason.empty()) {
    DWORD createError = ERROR_SUCCESS;
    state.file = CreateTemporaryBeside(state.target.path, state.temporary, createError);
    if (state.file == INVALID_HANDLE_VALUE) reason = SystemErrorText(createError);
  }
  if (reason.empty()) return true;
  error = state.Failure(reason);
  return false;
}

bool ReplacementFile::Write(const char* bytes, std::size_t length) {
  State& state = *m_state;
  if (state.file == INVALID_HANDLE_VALUE || state.writeError != ERROR_SUCCESS) return false;
  state.writeError = WriteAll(state.file, bytes, length);
  return state.writeError == ERROR_SUCCESS;
}

bool ReplacementFile::Finish(std::string& error) {
  State& state = *m_state;
  if (state.file == INVALID_HANDLE_VALUE) {
    if (!state.temporary.empty()) return true;  // finished already
    error = state.Failure("nothing to save: the file was not opened");
    return false;
  }
  // The content is on the disk before the name moves to it: a crash then leaves the old
  // file or the new one, never a new name over data still in the cache.
  if (state.writeError == ERROR_SUCCESS && !FlushFileBuffers(state.file)) state.writeError = GetLastError();
  if (!CloseHandle(state.file) && state.writeError == ERROR_SUCCESS) state.writeError = GetLastError();
  state.file = INVALID_HANDLE_VALUE;
  if (state.writeError == ERROR_SUCCESS) return true;
  error = state.Failure(SystemErrorText(state.writeError));
  Discard();
  return false;
}

bool ReplacementFile::Commit(std::string& error) {
  State& state = *m_state;
  if (!Finish(error)) return false;
  if (state.target.exists) {
    const DWORD kept = state.target.attributes & kAttributesKept;
    // A new file is marked for the next backup, as any file written is.
    if (kept != 0) SetFileAttributesW(state.temporary.c_str(), kept | FILE_ATTRIBUTE_ARCHIVE);
  }
  if (!MoveFileExW(state.temporary.c_str(), state.target.path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = state.Failure(SystemErrorText(GetLastError()));
    Discard();
    return false;
  }
  state.temporary.clear();
  return true;
}

void ReplacementFile::Discard() {
  State& state = *m_state;
  state.CloseFile();
  if (!state.temporary.empty()) DeleteFileW(state.temporary.c_str());
  state.temporary.clear();
}

const std::string& ReplacementFile::Path() const { return m_state->path; }
