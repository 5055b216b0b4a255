#include "saved/SavedFileSet.h"

#include <ctime>
#include <memory>

#include "platform/ReplacementFile.h"
#include "saved/SavedFileNames.h"
#include "saved/SavedScanWriter.h"

namespace {

bool WriteDrive(const SavedFile& planned, const TreeView& tree, const DisplayText& display,
                const LargestFiles* largest, std::int64_t timestamp, ReplacementFile& file,
                std::string& error) {
  if (!file.Open(planned.path, error)) return false;
  WriteSavedScan(
      tree, planned.drive, display, timestamp,
      [&file](const char* bytes, std::size_t length) { file.Write(bytes, length); }, largest);
  return file.Finish(error);
}

}  // namespace

bool SaveScanFiles(const TreeView& tree, const DisplayText& display, const std::string& given,
                   std::vector<std::string>& written, std::string& error, const LargestFiles* largest) {
  const std::vector<SavedFile> planned = PlanSavedFiles(tree, given);
  const auto timestamp = static_cast<std::int64_t>(std::time(nullptr));
  // Unfinished files are removed as these go out of scope, also on an exception.
  std::vector<std::unique_ptr<ReplacementFile>> files;
  for (const SavedFile& drive : planned) {
    files.push_back(std::make_unique<ReplacementFile>());
    if (!WriteDrive(drive, tree, display, largest, timestamp, *files.back(), error)) return false;
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!files[i]->Commit(error)) return false;
    written.push_back(planned[i].path);
  }
  return true;
}
