#include "tools/ambrell-scan/ReportOptions.h"

#include <strings.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "scan/LargestFiles.h"
#include "scan/ListingThreads.h"

#ifndef AMBRELL_VERSION
#error "AMBRELL_VERSION names the program's version"
#endif

const char kReportUsage[] =
    "Usage: ambrell-scan [--unit bytes|kb|mb|gb] [--depth N] [--sort size|change]\n"
    "                   [--largest N] [--threads N] [--export FILE] [--compare FILE]\n"
    "                   [--map FILE.svg [--map-size WIDTHxHEIGHT]]\n"
    "                   [--progress | --no-progress] [FOLDER...]\n"
    "       ambrell-scan --import [OPTION...] FILE...\n"
    "       ambrell-scan --help | --version\n"
    "\n"
    "Scans folders and prints how much space each one occupies, one folder a\n"
    "line in tree order, indented two spaces a level, each with its total:\n"
    "the size of every file in it and in all folders below it.\n"
    "\n"
    "With no FOLDER, every fixed drive of the machine is scanned. Each FOLDER\n"
    "given is scanned as a drive of its own and shown as written.\n"
    "\n"
    "  --unit U       show totals in bytes, kb, mb (the default) or gb, rounded\n"
    "                 down to whole units (1 KB = 1024 bytes)\n"
    "  --depth N      print folders down to N levels below each drive (0 prints\n"
    "                 the drives alone); totals still count everything\n"
    "  --sort size    print each folder's subfolders largest first (equal\n"
    "                 totals as listed) instead of in the order the file\n"
    "                 system lists them; drives keep their order\n"
    "  --sort change  print each folder's subfolders by their change since the\n"
    "                 --compare scan: the largest growth first, a new folder\n"
    "                 growing by its total, then the smallest loss to the\n"
    "                 largest, then unknown changes, then folders the saved\n"
    "                 scan does not cover; equal changes as listed\n"
    "  --largest N    print the N largest files (1 to 1000) instead of the\n"
    "                 tree, largest first, equal sizes by path, each with its\n"
    "                 full path and its size as a folder's total is shown\n"
    "  --threads N    list folders on N threads (1 to 64) ahead of the walk;\n"
    "                 1 lists each folder only when the walk reaches it. The\n"
    "                 default is 8, and 1 on a rotating disk. AMBRELL_THREADS=N\n"
    "                 sets it too, here and in the dialogs. The report is the\n"
    "                 same whatever the count\n"
    "  --export FILE  save the finished tree in ncdu's JSON export format, one\n"
    "                 file per drive: with several drives the drive's letter\n"
    "                 goes before the extension (scan-C.json, scan-D.json).\n"
    "                 FILE - writes the one drive to standard output instead\n"
    "                 of the report. The scan keeps no file list: the 1000\n"
    "                 largest files are saved as files, and the rest of a\n"
    "                 folder's own files as one entry of it, \"(files in this\n"
    "                 folder)\". Every total reads the same in ncdu, and gdu\n"
    "                 adds 4096 bytes of its own a folder\n"
    "  --map FILE.svg save a map of the tree as an SVG picture: every folder\n"
    "                 a block whose area is its share of its parent's total,\n"
    "                 the drives side by side, each block's path and total\n"
    "                 shown on hover. The report is printed as well\n"
    "  --map-size WxH the map's width and height in pixels, 3 to 20000 each\n"
    "                 (1600x1000 by default)\n"
    "  --import       read each FILE (- for standard input), a scan saved by\n"
    "                 --export, ncdu or gdu, and show it as a drive instead of\n"
    "                 scanning\n"
    "  --compare FILE add to each line the folder's change since the scan saved\n"
    "                 in FILE (- for standard input; --export's, ncdu's or\n"
    "                 gdu's), matched by full path, so that a scan of /home\n"
    "                 matches the folder /home here: \"home    (9,216 MB,\n"
    "                 +1,024 MB)\". The change is the difference of the two\n"
    "                 totals, rounded toward zero in the unit; \xC2\xB1"
    "0 only for\n"
    "                 equal totals, \"new\" for a folder the saved scan lacks,\n"
    "                 \"?\" when a total on either side reached the largest\n"
    "                 size. Folders the saved scan does not cover show no\n"
    "                 change. Works with --import too: two saved scans compared\n"
    "  --progress     draw how far the scan has come on standard error (the\n"
    "                 default when it is a terminal): folders, bytes, the\n"
    "                 share of the drives' used space when whole drives are\n"
    "                 scanned, and the folder being read, on one line redrawn\n"
    "                 at most ten times a second and cleared at the end.\n"
    "                 Never with --import\n"
    "  --no-progress  draw no progress line\n"
    "  --help         show this text\n"
    "  --version      show the program's name and version\n"
    "\n"
    "Numbers are grouped as the system's default locale groups them. Totals\n"
    "stop at 18446744073709551615 bytes (2^64 - 1) rather than wrap around;\n"
    "a total that reached it shows a '+' after the number.\n"
    "\n"
    "A name that holds a control character (a line break, an escape\n"
    "sequence), a Unicode line separator or direction mark, or bytes that\n"
    "are not UTF-8, or that begins with a blank or '\"', or holds four blanks\n"
    "and '(', is printed in double quotes, with \\\\ \\\" \\t \\n \\r inside and\n"
    "\\xHH for every other byte of such a character and for a '(' after four\n"
    "blanks. Every other name is printed as it is. So each folder has a line\n"
    "of its own, and the first four blanks and '(' of a line begin its total.\n"
    "\n"
    "Folders that could not be read (no permission to read or search them,\n"
    "gone during the scan) count as empty; how many there were is said on\n"
    "standard error, with the files --export wrote. The exit status does not\n"
    "tell a complete scan from a partial one: it is 0 after a scan that ran\n"
    "to its end, whether or not every folder could be read; 1 when memory\n"
    "ran out, or the report, a saved scan or the map could not be written\n"
    "(a reader that stops reading, as head does, ends the report quietly);\n"
    "2 for a bad option, a folder that does not exist or a saved scan that\n"
    "cannot be read.\n";

namespace {

bool ParseUnit(const std::string& text, int& unit) {
  static const char* const kNames[kUnitCount] = {"bytes", "kb", "mb", "gb"};
  for (int i = 0; i < kUnitCount; ++i) {
    if (strcasecmp(text.c_str(), kNames[i]) == 0) {
      unit = i;
      return true;
    }
  }
  return false;
}

bool ParseDepth(const std::string& text, int& depth) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  errno = 0;
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (errno != 0 || value > 1000000) return false;
  depth = static_cast<int>(value);
  return true;
}

bool ParseLargest(const std::string& text, int& largest) {
  int value = 0;
  if (!ParseDepth(text, value) || value < 1 || value > static_cast<int>(LargestFiles::kKept)) return false;
  largest = value;
  return true;
}

// 'WIDTHxHEIGHT', each side within what a map can be drawn at.
bool ParseMapSize(const std::string& text, int& width, int& height) {
  const std::size_t cross = text.find_first_of("xX");
  if (cross == std::string::npos) return false;
  int sides[2] = {0, 0};
  const std::string parts[2] = {text.substr(0, cross), text.substr(cross + 1)};
  for (int i = 0; i < 2; ++i) {
    if (!ParseDepth(parts[i], sides[i]) || sides[i] < TreeMap::kSmallestSide || sides[i] > kLargestMapSide)
      return false;
  }
  width = sides[0];
  height = sides[1];
  return true;
}

// Splits "--name=value" and "--name value" alike; false when the value is missing.
bool TakeValue(const std::vector<std::string>& arguments, std::size_t& i, const std::string& name,
               std::string& value) {
  const std::string& argument = arguments[i];
  if (argument.size() > name.size() && argument.compare(0, name.size() + 1, name + "=") == 0) {
    value = argument.substr(name.size() + 1);
    return true;
  }
  if (i + 1 >= arguments.size()) return false;
  value = arguments[++i];
  return true;
}

bool StartsWithOption(const std::string& argument, const std::string& name) {
  return argument == name || argument.compare(0, name.size() + 1, name + "=") == 0;
}

bool CheckComparingOptions(const ReportOptions& options, std::string& error) {
  if (options.order == FolderOrder::ByChange && options.compareFile.empty()) {
    error = "--sort change needs --compare FILE, a saved scan to compare with";
    return false;
  }
  if (!options.compareFile.empty() && options.largest > 0) {
    error = "--compare shows the changes of folders; --largest lists files instead";
    return false;
  }
  if (options.compareFile == "-" && options.importSaved &&
      std::find(options.folders.begin(), options.folders.end(), "-") != options.folders.end()) {
    error = "standard input holds one saved scan: --compare - and --import - cannot both read it";
    return false;
  }
  return true;
}

bool CheckSavedScanOptions(const ReportOptions& options, std::string& error) {
  if (options.importSaved && options.folders.empty() && !options.showHelp && !options.showVersion) {
    error = "--import takes one or more saved scans";
    return false;
  }
  if (options.mapSizeGiven && options.mapFile.empty()) {
    error = "--map-size goes with --map FILE.svg";
    return false;
  }
  if (options.exportFile == "-" && options.folders.size() > 1) {
    error = "--export - writes one drive to standard output; give a file name to save several";
    return false;
  }
  return true;
}

}  // namespace

bool ParseReportOptions(const std::vector<std::string>& arguments, ReportOptions& options,
                        std::string& error) {
  bool onlyFolders = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    std::string value;
    if (onlyFolders || argument == "-" || argument.empty() || argument[0] != '-') {
      options.folders.push_back(argument);
    } else if (argument == "--") {
      onlyFolders = true;
    } else if (argument == "--help" || argument == "-h") {
      options.showHelp = true;
    } else if (argument == "--version") {
      options.showVersion = true;
    } else if (argument == "--import") {
      options.importSaved = true;
    } else if (StartsWithOption(argument, "--import")) {
      options.importSaved = true;
      options.folders.push_back(argument.substr(sizeof "--import"));
    } else if (StartsWithOption(argument, "--export")) {
      if (!TakeValue(arguments, i, "--export", value) || value.empty()) {
        error = "--export takes a file name, or - for standard output";
        return false;
      }
      options.exportFile = value;
    } else if (StartsWithOption(argument, "--map-size")) {
      if (!TakeValue(arguments, i, "--map-size", value) ||
          !ParseMapSize(value, options.mapWidth, options.mapHeight)) {
        error = "--map-size takes WIDTHxHEIGHT in pixels, each from " +
                std::to_string(TreeMap::kSmallestSide) + " to " + std::to_string(kLargestMapSide) +
                " (1600x1000)";
        return false;
      }
      options.mapSizeGiven = true;
    } else if (StartsWithOption(argument, "--map")) {
      if (!TakeValue(arguments, i, "--map", value) || value.empty() || value == "-") {
        error = "--map takes the name of the SVG file to save";
        return false;
      }
      options.mapFile = value;
    } else if (StartsWithOption(argument, "--unit")) {
      if (!TakeValue(arguments, i, "--unit", value) || !ParseUnit(value, options.unit)) {
        error = "--unit takes bytes, kb, mb or gb";
        return false;
      }
    } else if (StartsWithOption(argument, "--depth")) {
      if (!TakeValue(arguments, i, "--depth", value) || !ParseDepth(value, options.maxDepth)) {
        error = "--depth takes a whole number from 0 up";
        return false;
      }
    } else if (StartsWithOption(argument, "--sort")) {
      if (!TakeValue(arguments, i, "--sort", value) || (value != "size" && value != "change")) {
        error = "--sort takes size or change";
        return false;
      }
      options.order = value == "size" ? FolderOrder::LargestFirst : FolderOrder::ByChange;
    } else if (StartsWithOption(argument, "--compare")) {
      if (!TakeValue(arguments, i, "--compare", value) || value.empty()) {
        error = "--compare takes a saved scan's file name, or - for standard input";
        return false;
      }
      options.compareFile = value;
    } else if (argument == "--progress") {
      options.progress = ProgressMode::Always;
    } else if (argument == "--no-progress") {
      options.progress = ProgressMode::Never;
    } else if (StartsWithOption(argument, "--largest")) {
      if (!TakeValue(arguments, i, "--largest", value) || !ParseLargest(value, options.largest)) {
        error = "--largest takes a whole number from 1 to 1000";
        return false;
      }
    } else if (StartsWithOption(argument, "--threads")) {
      if (!TakeValue(arguments, i, "--threads", value) || !ParseListingThreads(value, options.threads)) {
        error = "--threads takes a whole number from 1 to " + std::to_string(kMostListingThreads);
        return false;
      }
    } else {
      error = "unknown option " + argument;
      return false;
    }
  }
  return CheckSavedScanOptions(options, error) && CheckComparingOptions(options, error);
}

std::string RequestedInformation(const ReportOptions& options) {
  if (options.showHelp) return kReportUsage;
  return "ambrell-scan " AMBRELL_VERSION "\n";
}
