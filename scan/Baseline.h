#pragma once
// The folders of an earlier scan that a tree is compared with: the folder
// it was taken of ('/home'), then every folder below it after its parent,
// each with its name and its total. Totals follow from the own files the
// folders are added with, so a baseline costs a few words and a name a
// folder, never a tree of records.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Baseline {
 public:
  static constexpr std::size_t kNoParent = static_cast<std::size_t>(-1);

  // The first folder added is the root, named by the full path it was taken
  // of; every other one follows its parent. Returns the folder's index.
  std::size_t AddFolder(std::size_t parent, std::string_view name, std::uint64_t ownFiles);
  // Sets every total from the own files, once all folders are added; as
  // often as asked, to the same totals.
  void ComputeTotals();

  std::size_t FolderCount() const { return m_folders.size(); }
  const std::string& RootPath() const { return m_rootPath; }
  std::size_t ParentOf(std::size_t folder) const { return m_folders[folder].parent; }
  std::string_view NameOf(std::size_t folder) const;
  // Stops at the largest size, as a scan's totals do.
  std::uint64_t TotalOf(std::size_t folder) const { return m_folders[folder].total; }

 private:
  struct Folder {
    std::size_t parent;
    std::size_t nameStart;  // in m_names
    std::size_t nameLength;
    std::uint64_t ownFiles;
    std::uint64_t total;
  };
  std::string m_rootPath;
  std::string m_names;  // every name in one buffer
  std::vector<Folder> m_folders;
};
