#include "app/win32/AmbrellServices.h"

#include <string>

#include "platform/Platform.h"
#include "platform/win32/FolderDriveDisplay.h"
#include "platform/win32/NativePath.h"
#include "platform/win32/RunProcess.h"
#include "platform/win32/Win32FileSystem.h"
#include "scan/FolderPath.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// 'C:', 'C:\Users' or '\\server\share': a scan taken on Linux ('/home') or of a
// relative folder names no place on this machine.
bool IsFullWindowsPath(const std::string& path) {
  const bool onDrive = path.size() >= 2 &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                       path[1] == ':' && (path.size() == 2 || IsSeparator(path[2]));
  const bool onShare = path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
  return onDrive || onShare;
}

bool SavedFolderHere(const DriveTable& drives, const CPath& folder, std::string& nativeFolder) {
  const CDynString text = folder.ToString();
  const DriveRoot* drive = drives.Find(TextOrEmpty(text));
  std::string mapped;
  return drive != nullptr && IsFullWindowsPath(drive->nativeRoot) &&
         MapToFolderDrive(drives, TextOrEmpty(text), mapped) && GetFullNativePath(mapped, nativeFolder) &&
         IsExistingFolder(nativeFolder);
}

// Explorer opens the file's folder with the file selected.
CDynString SelectCommandLine(const std::string& folder, const std::string& fileName) {
  const char* separator = !folder.empty() && IsSeparator(folder.back()) ? "" : "\\";
  return CDynString(AllocHeap, "explorer.exe /select,\"%s%s%s\"", folder.c_str(), separator,
                    fileName.c_str());
}

}  // namespace

FileShower ShowInExplorerWith(ProcessStarter run) {
  return [run = std::move(run)](const CPath& folder, const std::string& fileName) {
    if (!run || folder.GetCount() == 0) return;  // names that form no path
    const CDynString text = folder.ToString();
    run(SelectCommandLine(TextOrEmpty(text), fileName), 0);
  };
}

FolderOpener OpenInExplorerWith(ProcessStarter run) {
  return [run = std::move(run)](const CPath& folder) {
    // A browser that cannot be started is not reported.
    if (run) run(ExplorerCommandLine(folder), 0);
  };
}

SavedDrivesOpener SavedDrivesOpenedWith(ProcessStarter run) {
  return [run = std::move(run)](const std::vector<std::string>& roots) {
    DriveTable drives;
    for (const std::string& root : roots) drives.Add(root, root);
    SavedDrives saved;
    saved.display = std::make_shared<FolderDriveDisplay>(drives);
    saved.openFolder = [drives, run](const CPath& folder) {
      std::string nativeFolder;
      if (run && SavedFolderHere(drives, folder, nativeFolder))
        run(CDynString(AllocHeap, "explorer.exe \"%s\"", nativeFolder.c_str()), 0);
    };
    saved.showFile = [drives, run](const CPath& folder, const std::string& fileName) {
      std::string nativeFolder;
      if (run && SavedFolderHere(drives, folder, nativeFolder))
        run(SelectCommandLine(nativeFolder, fileName), 0);
    };
    saved.fileSystem = std::make_shared<Win32FileSystem>(drives);
    saved.isHere = [drives](const CPath& folder) {
      std::string nativeFolder;
      return SavedFolderHere(drives, folder, nativeFolder);
    };
    return saved;
  };
}

AmbrellServices MachineServices() {
  const ProcessStarter run = [](const CDynString& commandLine, std::uint32_t flags) {
    return RunProcess(commandLine, flags);
  };
  AmbrellServices services =
      ServicesFromPlatform(std::make_shared<PlatformServices>(OpenFixedDrives()), OpenInExplorerWith(run));
  services.showFile = ShowInExplorerWith(run);
  services.openSavedDrives = SavedDrivesOpenedWith(run);
  return services;
}
