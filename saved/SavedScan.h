#pragma once
// A saved scan read and checked in full before any of it reaches a tree, so
// that a bad file changes nothing. It holds the folders alone, in the order
// the file lists them (every folder before its subfolders), each with the
// size of its own files: memory follows the tree, not the file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "scan/DisplayText.h"
#include "scan/FolderStore.h"
#include "scan/LargestFiles.h"
#include "scan/ScanSession.h"
#include "scan/Tree.h"

class SavedScan {
 public:
  static constexpr std::size_t kNoParent = static_cast<std::size_t>(-1);

  // The folder the scan was taken of, as the file names it ('/home').
  const std::string& RootName() const { return m_rootName; }
  std::size_t FolderCount() const { return m_folders.size(); }
  // Folders the scan that wrote the file could not read.
  std::uint64_t UnreadableFolders() const;

  // For the reader: the first folder added is the root; every other one
  // follows its parent. Names are real names; returns the folder's index.
  std::size_t AddFolder(std::size_t parent, const std::string& name, bool unreadable);
  void AddSize(std::size_t folder, std::uint64_t size);
  // A file of the folder: its size counts, and it may be among the largest files.
  void AddFile(std::size_t folder, const std::string& name, std::uint64_t size);
  std::uint64_t SizeOf(std::size_t folder) const;
  // kNoParent for the root.
  std::size_t ParentOf(std::size_t folder) const { return m_folders[folder].parent; }
  // The name the file gives the folder (the root's is RootName()); until InsertInto.
  const char* NameOf(std::size_t folder) const { return m_folders[folder].record->name; }

  // Inserts the root as a drive named driveName ('C:') at the top level and
  // every other folder below it, each name in the form names gives records,
  // exactly as a scan inserts. The records move to folders; the scan is left
  // empty.
  void InsertInto(TreeInserter& tree, FolderStore& folders, const char* driveName, const DisplayText& names);
  // Offers the largest files the file holds, largest first, to files, each name
  // in the form names gives records; after InsertInto, which keeps their
  // folders' records where they are.
  void MoveLargestFilesTo(LargestFiles& files, const DisplayText& names);

 private:
  struct Folder {
    std::size_t parent;
    FolderRecord* record;
    std::uint32_t subfolders;  // added so far
  };

  std::string m_rootName;
  FolderStore m_store;
  LargestFiles m_largest;
  std::vector<Folder> m_folders;
};

// Inserts the scans as drives C:, D:, ... in order, their records and largest files
// in session; the scans are left empty.
void InsertSavedDrives(std::vector<SavedScan>& scans, TreeInserter& tree, ScanSession& session,
                       const DisplayText& names);
