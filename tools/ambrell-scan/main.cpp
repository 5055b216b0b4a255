// ambrell-scan: the folder size tree without a window, for scripts and
// machines without a display. Runs the same pipeline as the dialog.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/CommandLineArguments.h"
#endif

#include "platform/Platform.h"
#include "saved/SavedBaseline.h"
#include "scan/BaselineMatch.h"
#include "scan/DisplayPath.h"
#include "scan/FreeItems.h"
#include "scan/ListingThreads.h"
#include "scan/MemoryTree.h"
#include "scan/ScanEngine.h"
#include "scan/SizeLabels.h"
#include "text/NameQuoting.h"
#include "tools/ambrell-scan/MapReport.h"
#include "tools/ambrell-scan/QuotedDisplayText.h"
#include "tools/ambrell-scan/ReportOptions.h"
#include "tools/ambrell-scan/ReportOutput.h"
#include "tools/ambrell-scan/SavedReport.h"
#include "tools/ambrell-scan/TerminalProgress.h"
#include "tools/ambrell-scan/TreePrinter.h"

namespace {

constexpr int kExitBadUsage = 2;
constexpr int kExitNoMemory = 1;
constexpr int kExitNotSaved = 1;
constexpr int kExitWriteFailed = 1;

bool OpenServices(const ReportOptions& options, PlatformServices& services) {
  std::string error;
  unsigned fromEnvironment = 0;
  if (options.threads == 0 && !ListingThreadsFromEnvironment(fromEnvironment, error)) {
    std::fprintf(stderr, "ambrell-scan: %s\n", error.c_str());
    return false;
  }
  ListingOptions listing;
  listing.threads = options.threads;
  if (options.folders.empty()) {
    services = OpenFixedDrives(listing);
    return true;
  }
  if (OpenFolders(options.folders, services, error, listing)) return true;
  std::fprintf(stderr, "ambrell-scan: %s\n", EscapeForTerminal(error).c_str());
  return false;
}

void PrintSummary(const ScanSummary& summary, bool fromSavedScans) {
  std::fprintf(stderr,
               fromSavedScans
                   ? "ambrell-scan: %llu folders in the saved scans, %llu could not be read when saved\n"
                   : "ambrell-scan: %llu folders scanned, %llu could not be read\n",
               static_cast<unsigned long long>(summary.folders),
               static_cast<unsigned long long>(summary.unreadableFolders));
}

bool ReadSavedReport(const ReportOptions& options, PlatformServices& services, ScanSession& session,
                     MemoryTree& tree, ScanSummary& summary) {
  std::vector<SavedScan> scans;
  std::string error;
  if (!ReadSavedScans(options.folders, scans, error) ||
      !OpenSavedDrives(SavedRootNames(scans), services, error)) {
    std::fprintf(stderr, "ambrell-scan: %s\n", EscapeForTerminal(error).c_str());
    return false;
  }
  InsertSavedScans(scans, tree, session, *services.display, summary);
  return true;
}

bool ShowsProgress(const ReportOptions& options) {
  if (options.progress == ProgressMode::WhenTerminal) return StandardErrorIsTerminal();
  return options.progress == ProgressMode::Always;
}

bool ScanReport(const ReportOptions& options, PlatformServices& services, ScanSession& session,
                MemoryTree& tree, ScanSummary& summary) {
  if (!OpenServices(options, services)) return false;
  // The largest files cost a little time of every file: kept only where they are shown or saved.
  const bool keepFiles = options.largest > 0 || !options.exportFile.empty();
  ScanProgress progress;
  ScanJob job{*services.fileSystem,
              session.Folders(),
              tree,
              nullptr,
              nullptr,
              keepFiles ? &session.Largest() : nullptr};
  job.progress = &progress;
  std::unique_ptr<TerminalProgress> line;
  if (ShowsProgress(options)) {
    line = std::make_unique<TerminalProgress>(progress, *services.display, *services.locale, options.unit);
  }
  ScanThreadProc(&job);
  line.reset();  // the line is gone before anything else is written
  summary = job.summary;
  return true;
}

// The saved scan to compare with, read before the scan so that a bad one
// costs no scan.
bool ReadBaseline(const ReportOptions& options, Baseline& baseline) {
  if (options.compareFile.empty()) return true;
  std::string error;
  bool read = false;
  if (options.compareFile == "-") {
    std::vector<SavedScan> scans;
    read = ReadSavedScans({options.compareFile}, scans, error);
    if (read) baseline = BaselineOf(scans.front());
  } else {
    read = ReadBaselineFile(options.compareFile, baseline, error);
  }
  if (!read) std::fprintf(stderr, "ambrell-scan: %s\n", EscapeForTerminal(error).c_str());
  return read;
}

void Compare(const ReportOptions& options, const Baseline& baseline, const MemoryTree& tree,
             const DisplayText& display, FolderChanges& changes) {
  // Windows matches paths whatever their case, Linux byte for byte.
  if (MatchBaseline(tree, baseline, display, kNativePaths, changes) != 0) return;
  std::fprintf(stderr,
               "ambrell-scan: %s: the saved scan of %s matches no drive or folder here; no change shown\n",
               EscapeForTerminal(options.compareFile).c_str(), QuoteName(baseline.RootPath()).c_str());
}

bool Export(const ReportOptions& options, const MemoryTree& tree, const DisplayText& display,
            const LargestFiles& largest) {
  std::vector<std::string> written;
  std::string error;
  const bool saved = ExportSavedScans(options.exportFile, tree, display, written, error, &largest);
  for (const std::string& file : written) {
    std::fprintf(stderr, "ambrell-scan: saved %s\n", EscapeForTerminal(file).c_str());
  }
  if (saved) return true;
  std::fprintf(stderr, "ambrell-scan: %s\n", EscapeForTerminal(error).c_str());
  if (written.empty() && options.exportFile != "-") std::fprintf(stderr, "ambrell-scan: nothing was saved\n");
  return false;
}

bool SaveMap(const ReportOptions& options, const TreeView& tree, const DisplayText& display,
             NumberLocale& locale) {
  std::string error;
  const MapSvgLabels labels{display, options.unit, locale};
  if (SaveMapSvg(options.mapFile, tree, options.mapWidth, options.mapHeight, labels, error)) {
    std::fprintf(stderr, "ambrell-scan: saved %s\n", EscapeForTerminal(options.mapFile).c_str());
    return true;
  }
  std::fprintf(stderr, "ambrell-scan: %s\nambrell-scan: the map was not saved\n",
               EscapeForTerminal(error).c_str());
  return false;
}

// False, with a message unless its reader just stopped reading, when the
// report could not be written. Each label is made as its line is printed:
// holding them all would cost memory, and an allocation, a folder.
bool PrintReport(const LabelContext& context, int maxDepth, FolderOrder order) {
  const FolderChanges* changes = context.changes;
  ReportOutput output(stdout);
  context.locale.BeginPass();
  LabelMaker labels(context);
  PrintTree(
      context.tree, maxDepth, order,
      [&labels](TreeItem item) -> std::string_view { return labels.For(item); },
      [&output](const char* text, std::size_t length) { output.Write(text, length); }, changes);
  if (output.Finish()) return true;
  ReportOutputFailure(output.Error());
  return false;
}

// The largest files instead of the tree: largest first, equal sizes by path.
bool PrintLargestFiles(const LargestFiles& largest, const ReportOptions& options, NumberLocale& locale,
                       const DisplayText& display) {
  std::vector<std::pair<std::uint64_t, std::string>> files;  // size, path as shown
  for (const LargeFile* file : largest.Sorted()) {
    files.emplace_back(file->size, DisplayPathOf(*file->folder, file->name.c_str(), display));
  }
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : a.second < b.second;
  });
  files.resize(std::min(files.size(), static_cast<std::size_t>(options.largest)));
  ReportOutput output(stdout);
  locale.BeginPass();
  for (const auto& [size, path] : files) {
    const CDynString label = FormatSizeLabel(QuoteName(path).c_str(), size, options.unit, locale);
    output.Write(TextOrEmpty(label), std::strlen(TextOrEmpty(label)));
    output.Write("\n", 1);
  }
  if (output.Finish()) return true;
  ReportOutputFailure(output.Error());
  return false;
}

int Report(const ReportOptions& options) {
  PlatformServices services;
  SharedScanSession session = std::make_shared<ScanSession>();
  MemoryTree tree;
  ScanSummary summary;
  Baseline baseline;
  if (!ReadBaseline(options, baseline)) return kExitBadUsage;
  const bool ready = options.importSaved ? ReadSavedReport(options, services, *session, tree, summary)
                                         : ScanReport(options, services, *session, tree, summary);
  if (!ready) return kExitBadUsage;

  AccumulateFolderSizes(tree);
  FolderChanges& changes = session->Changes();
  const bool comparing = !options.compareFile.empty();
  if (comparing) Compare(options, baseline, tree, *services.display, changes);
  const QuotedDisplayText quoted(*services.display);
  bool printed = options.exportFile == "-";
  if (!printed) {
    printed = options.largest > 0
                  ? PrintLargestFiles(session->Largest(), options, *services.locale, *services.display)
                  : PrintReport(LabelContext{tree, options.unit, *services.locale, quoted,
                                             comparing ? &changes : nullptr},
                                options.maxDepth, options.order);
  }
  const bool exported =
      options.exportFile.empty() || Export(options, tree, *services.display, session->Largest());
  const bool mapped = options.mapFile.empty() || SaveMap(options, tree, *services.display, *services.locale);
  FreeAllItems(tree, session);
  if (!printed) return kExitWriteFailed;

  PrintSummary(summary, options.importSaved);
  if (summary.outOfMemory) {
    std::fprintf(stderr, "ambrell-scan: out of memory; the totals cover only part of the tree\n");
    return kExitNoMemory;
  }
  return exported && mapped ? 0 : kExitNotSaved;
}

int PrintInformation(const ReportOptions& options) {
  const std::string text = RequestedInformation(options);
  ReportOutput output(stdout);
  output.Write(text.data(), text.size());
  if (output.Finish()) return 0;
  ReportOutputFailure(output.Error());
  return kExitWriteFailed;
}

}  // namespace

int main([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#ifdef _WIN32
  // Names are UTF-8 throughout (the manifest's code page); a console shows them so too.
  SetConsoleOutputCP(CP_UTF8);
  // argv holds the ANSI code page's text, which has lost every name outside it.
  const std::vector<std::string> arguments = Utf8ArgumentsOf(GetCommandLineW());
#else
  const std::vector<std::string> arguments(argv + 1, argv + argc);
#endif
  ReportOptions options;
  std::string error;
  if (!ParseReportOptions(arguments, options, error)) {
    std::fprintf(stderr, "ambrell-scan: %s\nTry 'ambrell-scan --help'.\n", EscapeForTerminal(error).c_str());
    return kExitBadUsage;
  }
  if (options.showHelp || options.showVersion) return PrintInformation(options);
  try {
    return Report(options);
  } catch (...) {
    std::fprintf(stderr, "ambrell-scan: out of memory\n");
    return kExitNoMemory;
  }
}
