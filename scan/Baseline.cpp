#include "scan/Baseline.h"

#include "scan/FolderRecord.h"

std::size_t Baseline::AddFolder(std::size_t parent, std::string_view name, std::uint64_t ownFiles) {
  if (m_folders.empty()) m_rootPath = std::string(name);
  m_folders.push_back(
      Folder{m_folders.empty() ? kNoParent : parent, m_names.size(), name.size(), ownFiles, ownFiles});
  m_names += name;
  return m_folders.size() - 1;
}

// Every folder follows its parent, so going backwards adds each total to its
// parent's once all of its subfolders' have been added to it: no recursion,
// however deep.
void Baseline::ComputeTotals() {
  for (Folder& folder : m_folders) folder.total = folder.ownFiles;
  for (std::size_t i = m_folders.size(); i-- > 1;) {
    AddSize(m_folders[m_folders[i].parent].total, m_folders[i].total);
  }
}

std::string_view Baseline::NameOf(std::size_t folder) const {
  return std::string_view(m_names).substr(m_folders[folder].nameStart, m_folders[folder].nameLength);
}
