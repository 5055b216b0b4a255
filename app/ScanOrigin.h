#pragma once
// Where a dialog's folders come from: its drives, walked again by every scan, or saved
// scans, read again from their files for every fill (Refresh reads them anew). Files
// are read in full before the tree is touched, so that a bad one changes nothing, and
// what the tree shows switches only when the next fill starts.

#include <memory>
#include <string>
#include <vector>

#include "app/AmbrellServices.h"
#include "app/SavedScanFiles.h"
#include "app/TreeSource.h"
#include "path/Path.h"
#include "scan/DisplayText.h"

class ScanOrigin {
 public:
  explicit ScanOrigin(const AmbrellServices& services);
  ScanOrigin(const ScanOrigin&) = delete;
  ScanOrigin& operator=(const ScanOrigin&) = delete;
  ~ScanOrigin();

  // Saved scans already read (the command line's), shown from the next fill on.
  void ShowSaved(SavedScanSet saved);
  // Reads the files, to be shown from the next fill on. False, with the reason on
  // standard error, changes nothing.
  bool OpenSaved(const std::vector<std::string>& files);
  // Readies the next fill: saved files are read again, unless they were read since
  // the last fill. False as for OpenSaved: the tree is then to stay as it is.
  bool PrepareFill();
  // Whether the folder of the tree can be scanned again: any folder of the drives, a
  // saved scan's only where it is on this machine.
  bool CanScanFolder(const FolderRecord& folder) const;
  // Readies the next fill to walk the folder alone (FolderScanSource); false, changing
  // nothing, where it cannot be scanned.
  bool PrepareFolderFill(FolderRecord& folder);
  // What the next worker inserts; from here on the tree shows what it inserts.
  std::shared_ptr<TreeSource> TakeSource();

  bool ShowsSavedScans() const { return !m_files.empty(); }
  // How the tree's names show, following the origin from fill to fill.
  std::shared_ptr<const DisplayText> Names() const;
  void OpenFolder(const CPath& folder) const;
  void ShowFile(const CPath& folder, const std::string& fileName) const;

 private:
  class FollowingNames;
  struct Pending;
  bool Read(const std::vector<std::string>& files);

  std::shared_ptr<FileSystem> m_drives;
  SavedDrivesOpener m_openSavedDrives;

  std::shared_ptr<FollowingNames> m_names;
  FolderOpener m_openFolder;
  FileShower m_showFile;
  std::shared_ptr<FileSystem> m_savedFolders;  // where the saved scans' folders are listed
  FolderTest m_savedFolderHere;
  std::shared_ptr<TreeSource> m_folderFill;  // the next fill, when it walks one folder
  std::vector<std::string> m_files;          // empty while the drives are shown
  std::unique_ptr<Pending> m_pending;
};
