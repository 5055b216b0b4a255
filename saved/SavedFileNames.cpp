#include "saved/SavedFileNames.h"

#include "scan/FolderRecord.h"

std::string SavedFileNameForDrive(const std::string& given, char letter) {
  const std::size_t nameStart = given.find_last_of("/\\") + 1;  // npos + 1 is 0
  std::size_t dot = given.rfind('.');
  // A dot that begins the name ('.json') or belongs to a folder marks no extension.
  if (dot == std::string::npos || dot <= nameStart) dot = given.size();
  return given.substr(0, dot) + "-" + letter + given.substr(dot);
}

std::vector<SavedFile> PlanSavedFiles(const TreeView& tree, const std::string& given) {
  std::vector<SavedFile> files;
  for (TreeItem drive = tree.GetRootItem(); drive != kNoItem; drive = tree.GetNextSiblingItem(drive)) {
    files.push_back(SavedFile{given, drive});
  }
  if (files.size() > 1) {
    for (SavedFile& file : files)
      file.path = SavedFileNameForDrive(given, tree.GetItemData(file.drive)->name[0]);
  }
  return files;
}
