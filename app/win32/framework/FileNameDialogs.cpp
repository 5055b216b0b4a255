#include "app/win32/framework/FileNameDialogs.h"

#include <commdlg.h>

#include <cwchar>

#include "platform/win32/WideText.h"

namespace {

// Room for many names chosen at once; a choice that does not fit is refused by the box.
constexpr DWORD kChosenSize = 32768;

std::wstring Wide(const std::string& text) {
  std::wstring wide;
  return Utf8ToWide(text.c_str(), wide) ? wide : std::wstring();
}

// Each description and pattern ended by a NUL, the list by a second one.
std::wstring FilterText(const FileKinds& kinds) {
  std::wstring filter;
  for (const auto& kind : kinds.kinds) {
    filter += Wide(kind.first);
    filter += L'\0';
    filter += Wide(kind.second);
    filter += L'\0';
  }
  filter += L'\0';
  return filter;
}

struct FileNameRequest {
  FileNameRequest(HWND owner, const char* titleText, const FileKinds& kinds, DWORD flags)
      : title(Wide(titleText)),
        filter(FilterText(kinds)),
        extension(Wide(kinds.defaultExtension)),
        chosen(kChosenSize, L'\0') {
    box.lStructSize = sizeof box;
    box.hwndOwner = owner;
    box.lpstrFilter = filter.c_str();
    box.nFilterIndex = 1;
    box.lpstrFile = &chosen[0];
    box.nMaxFile = kChosenSize;
    box.lpstrTitle = title.c_str();
    box.lpstrDefExt = extension.c_str();
    // The current folder stays where it was: nothing else of the program depends on it.
    box.Flags = flags | OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  }

  std::wstring title;
  std::wstring filter;
  std::wstring extension;
  std::wstring chosen;
  OPENFILENAMEW box{};
};

}  // namespace

std::string AskSaveFileName(HWND owner, const char* title, const FileKinds& kinds) {
  FileNameRequest request(owner, title, kinds, OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST);
  if (!GetSaveFileNameW(&request.box)) return std::string();
  return WideToUtf8(request.chosen.c_str());
}

std::vector<std::string> AskOpenFileNames(HWND owner, const char* title, const FileKinds& kinds,
                                          bool several) {
  const DWORD flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | (several ? OFN_ALLOWMULTISELECT : 0);
  FileNameRequest request(owner, title, kinds, flags);
  if (!GetOpenFileNameW(&request.box)) return {};
  return SplitChosenFileNames(request.chosen.c_str());
}

std::vector<std::string> SplitChosenFileNames(const wchar_t* chosen) {
  std::vector<std::string> files;
  if (chosen == nullptr || *chosen == L'\0') return files;
  std::wstring folder = chosen;
  const wchar_t* name = chosen + folder.size() + 1;
  if (*name == L'\0') return {WideToUtf8(folder.c_str())};
  // A root such as 'C:\' ends with its backslash already.
  if (folder.back() != L'\\') folder += L'\\';
  for (; *name != L'\0'; name += std::wcslen(name) + 1) files.push_back(WideToUtf8((folder + name).c_str()));
  return files;
}
