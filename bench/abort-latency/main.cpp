// How long a scan takes to stop once Abort is pressed: from setting the
// abort signal to the scan's end, the threads that list ahead joined and
// their listings closed. Each round aborts a fresh scan of FOLDER at a
// random moment.
//
//   ambrell-abort-latency FOLDER [THREADS] [ROUNDS] [--cold]
//
// --cold drops the page cache before each round (root only), so that the
// abort comes while the threads wait for the disk.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/Platform.h"
#include "scan/FolderStore.h"
#include "scan/MemoryTree.h"
#include "scan/ScanEngine.h"

namespace {

using Clock = std::chrono::steady_clock;

bool DropCaches() {
  ::sync();
  std::ofstream drop("/proc/sys/vm/drop_caches");
  return static_cast<bool>(drop << "3\n");
}

double AbortOnce(FileSystem& fs, std::chrono::milliseconds after, bool& finishedFirst) {
  FolderStore folders;
  MemoryTree tree;
  AbortFlag abort;
  ScanJob job{fs, folders, tree, &abort};
  std::thread worker(ScanThreadProc, &job);
  std::this_thread::sleep_for(after);
  const Clock::time_point pressed = Clock::now();
  abort.Set();
  worker.join();
  const double stopped = std::chrono::duration<double, std::milli>(Clock::now() - pressed).count();
  finishedFirst = !job.summary.aborted;
  return stopped;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  const bool cold = std::find(arguments.begin(), arguments.end(), "--cold") != arguments.end();
  arguments.erase(std::remove(arguments.begin(), arguments.end(), "--cold"), arguments.end());
  if (arguments.empty()) {
    std::fputs("usage: ambrell-abort-latency FOLDER [THREADS] [ROUNDS] [--cold]\n", stderr);
    return 2;
  }
  ListingOptions listing;
  listing.threads = arguments.size() > 1 ? static_cast<unsigned>(std::atoi(arguments[1].c_str())) : 0;
  const int rounds = arguments.size() > 2 ? std::atoi(arguments[2].c_str()) : 20;
  PlatformServices services;
  std::string error;
  if (!OpenFolders({arguments[0]}, services, error, listing)) {
    std::fprintf(stderr, "ambrell-abort-latency: %s\n", error.c_str());
    return 2;
  }
  if (cold && !DropCaches()) std::fputs("cannot drop the page cache (root only): warm rounds\n", stderr);

  std::mt19937 random(7);
  std::vector<double> stops;
  int finishedFirst = 0;
  for (int round = 0; round < rounds; ++round) {
    if (cold) DropCaches();
    bool finished = false;
    const double stopped =
        AbortOnce(*services.fileSystem, std::chrono::milliseconds(20 + random() % 300), finished);
    if (finished) {
      ++finishedFirst;
    } else {
      stops.push_back(stopped);
    }
  }
  std::sort(stops.begin(), stops.end());
  if (stops.empty()) {
    std::puts("every scan ended before its abort: give a larger folder");
    return 1;
  }
  std::printf("%zu aborts (%s, %u threads): median %.2f ms, slowest %.2f ms; %d scans ended first\n",
              stops.size(), cold ? "cold" : "warm", listing.threads, stops[stops.size() / 2], stops.back(),
              finishedFirst);
  return 0;
}
