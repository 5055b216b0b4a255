#pragma once
#include <string>
#include <vector>

#include "scan/FolderOrder.h"
#include "scan/SizeLabels.h"
#include "tools/ambrell-scan/MapReport.h"

// Whether the scan draws its progress on standard error.
enum class ProgressMode {
  WhenTerminal,  // when standard error is a terminal
  Always,
  Never,
};

struct ReportOptions {
  int unit = kDefaultUnit;
  int maxDepth = -1;  // drives are depth 0; -1 prints everything
  FolderOrder order = FolderOrder::Listed;
  int largest = 0;       // print this many of the largest files instead of the tree
  unsigned threads = 0;  // threads listing folders; 0: AMBRELL_THREADS, else each disk's default
  bool showHelp = false;
  bool showVersion = false;
  std::vector<std::string> folders;  // none: every fixed drive
  bool importSaved = false;          // folders are saved scans to read instead
  std::string exportFile;            // where to save the tree; "-": standard output
  std::string mapFile;               // where to save the map as SVG
  int mapWidth = kDefaultMapWidth;   // pixels
  int mapHeight = kDefaultMapHeight;
  bool mapSizeGiven = false;
  std::string compareFile;  // a saved scan each folder's change is shown against
  ProgressMode progress = ProgressMode::WhenTerminal;
};

// False, with a message for standard error, on a bad option.
bool ParseReportOptions(const std::vector<std::string>& arguments, ReportOptions& options,
                        std::string& error);

extern const char kReportUsage[];

// What --help or --version asks for in place of a report (the usage wins
// when both are given): the usage, or the name and version on one line.
std::string RequestedInformation(const ReportOptions& options);
