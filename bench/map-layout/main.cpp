// What the map costs beside the scan: the scan (or the building of a
// generated tree in memory), the totals pass, the layout at the map's size,
// hit testing, and writing the report's SVG, each the median of several
// rounds but the scan, and painting the map as the dialog's map window does
// (MapPaintTarget).
//
//   ambrell-map-timer [--size WxH] [--rounds N] FOLDER
//   ambrell-map-timer [--size WxH] [--rounds N] --generated COUNT

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/MapWindowState.h"
#include "bench/map-layout/MapPaintTarget.h"
#include "map/TreeMap.h"
#include "platform/Platform.h"
#include "scan/FolderStore.h"
#include "scan/MemoryTree.h"
#include "scan/ScanEngine.h"
#include "scan/SizeLabels.h"
#include "tools/ambrell-scan/MapSvg.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsOf(const std::function<void()>& work) {
  const Clock::time_point start = Clock::now();
  work();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(int rounds, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) times.push_back(MillisecondsOf(work));
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// count folders, breadth first, 1 to 15 subfolders each (about 8), own files
// from nothing to a gigabyte spread over every order of magnitude.
void Generate(std::size_t count, FolderStore& folders, MemoryTree& tree) {
  std::mt19937_64 random(11);
  std::deque<InsertedItem> open;
  FolderRecord* drive = folders.Add("C:");
  open.push_back(tree.Insert(kTopLevel, "C:", drive));
  std::size_t made = 1;
  while (made < count && !open.empty()) {
    const InsertedItem parent = open.front();
    open.pop_front();
    FolderRecord* parentRecord = tree.GetItemData(parent);
    for (std::uint32_t i = 0, children = 1 + random() % 15; i < children && made < count; ++i, ++made) {
      const std::string name = "f" + std::to_string(made);
      FolderRecord* record = folders.Add(name.c_str(), parentRecord, i);
      record->ownFiles = random() % (std::uint64_t{1} << (random() % 31));
      open.push_back(tree.Insert(parent, name.c_str(), record));
    }
  }
}

struct Options {
  int width = 1600;
  int height = 1000;
  int rounds = 7;
  std::size_t generated = 0;
  std::string folder;
};

bool Parse(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--size" && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%dx%d", &options.width, &options.height) != 2) return false;
    } else if (argument == "--rounds" && i + 1 < argc) {
      options.rounds = std::max(1, std::atoi(argv[++i]));
    } else if (argument == "--generated" && i + 1 < argc) {
      options.generated = std::strtoull(argv[++i], nullptr, 10);
    } else {
      options.folder = argument;
    }
  }
  return options.generated > 0 || !options.folder.empty();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!Parse(argc, argv, options)) {
    std::fputs("usage: ambrell-map-timer [--size WxH] [--rounds N] FOLDER | --generated COUNT\n", stderr);
    return 2;
  }
  PlatformServices services;
  std::string error;
  // A generated tree needs the platform's names and locale only: any folder opens them.
#ifdef _WIN32
  const std::string anyFolder = "C:\\";
#else
  const std::string anyFolder = "/";
#endif
  if (!OpenFolders({options.generated > 0 ? anyFolder : options.folder}, services, error)) {
    std::fprintf(stderr, "ambrell-map-timer: %s\n", error.c_str());
    return 2;
  }
  FolderStore folders;
  MemoryTree tree;
  const double filled = MillisecondsOf([&] {
    if (options.generated > 0) {
      Generate(options.generated, folders, tree);
    } else {
      ScanJob job{*services.fileSystem, folders, tree};
      ScanDrives(job);
    }
  });
  const double totals = Median(options.rounds, [&] { AccumulateFolderSizes(tree); });

  TreeMap map;
  const MapRequest request{kNoItem, MapRect{0, 0, options.width, options.height}, kMapSvgLineHeight};
  const double layout = Median(options.rounds, [&] { map.Layout(tree, request); });
  std::size_t hits = 0;
  const double hitTests = Median(options.rounds, [&] {
    for (int y = 0; y < options.height; y += 10)
      for (int x = 0; x < options.width; x += 10) hits += map.FolderAt(x, y) != kNoItem;
  });
  const double points = double((options.width + 9) / 10) * ((options.height + 9) / 10);
  std::size_t bytes = 0;
  const double svg = Median(options.rounds, [&] {
    bytes = 0;
    WriteMapSvg(map, options.width, options.height,
                MapSvgLabels{*services.display, kDefaultUnit, *services.locale},
                [&bytes](const char*, std::size_t length) { bytes += length; });
  });

  // The window maps the drive (the tree's first item) at the same size.
  MapPaintTarget target(options.width, options.height);
  MapWindowState window(std::shared_ptr<const DisplayText>(std::move(services.display)),
                        std::shared_ptr<NumberLocale>(std::move(services.locale)), kDefaultUnit);
  window.Layout(MapRect{0, 0, options.width, options.height}, target.LineHeight());
  window.Show(tree, tree.GetRootItem(), std::make_shared<ScanSession>());
  const double windowLayout = Median(options.rounds, [&] {
    window.Layout(MapRect{0, 0, options.width, options.height}, target.LineHeight());
  });
  const double paint = Median(options.rounds, [&] { target.Paint(window); });

  std::printf("%s: %zu folders, map %dx%d, %zu blocks; medians of %d rounds\n",
              options.generated > 0 ? "generated tree" : options.folder.c_str(), folders.GetCount(),
              options.width, options.height, map.Blocks().size(), options.rounds);
  std::printf("  %-22s %9.1f ms\n", options.generated > 0 ? "building it in memory" : "scan", filled);
  std::printf("  %-22s %9.1f ms\n", "totals pass", totals);
  std::printf("  %-22s %9.1f ms\n", "layout", layout);
  std::printf("  %-22s %9.2f us a point\n", "hit test", hitTests * 1000.0 / points);
  std::printf("  %-22s %9.1f ms (%.1f MB)\n", "SVG", svg, double(bytes) / 1e6);
  std::printf("  %-22s %9.1f ms (%zu blocks, the drive's)\n", "window's layout", windowLayout,
              window.Map().Blocks().size());
  std::printf("  %-22s %9.1f ms (%s)\n", "painting", paint, target.Name());
  return 0;
}
