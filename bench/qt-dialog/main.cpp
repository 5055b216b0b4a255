// Times the Linux dialog on the folders given, from its start to a fully
// labelled tree, and measures the longest time its GUI thread went without
// turning to its event loop while the scan ran (how long a click on Abort
// could have waited), and how long the final totals and labels took.
//
//   ambrell-dialog-timer folder...
//   prints: seconds items longest-stall-while-scanning-ms final-pass-ms labelled-at
//
// labelled-at is CLOCK_MONOTONIC's reading at the labelled tree, in seconds, so that a
// caller can time from the process's start without the teardown of its 100,000 items.

#include <time.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/qt/AmbrellDlg.h"
#include "app/qt/FolderTree.h"
#include "platform/Platform.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  auto platform = std::make_shared<PlatformServices>();
  std::string error;
  if (argc < 2 || !OpenFolders(std::vector<std::string>(argv + 1, argv + argc), *platform, error)) {
    std::fprintf(stderr, "usage: ambrell-dialog-timer folder...\n%s\n", error.c_str());
    return 2;
  }

  QElapsedTimer clock;
  clock.start();
  qint64 lastTurn = 0;
  qint64 longestStall = 0;
  QTimer ticker;
  ticker.setInterval(1);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    longestStall = std::max(longestStall, clock.elapsed() - lastTurn);
    lastTurn = clock.elapsed();
  });
  ticker.start();

  CAmbrellDlg dialog(ServicesFromPlatform(platform));
  dialog.show();
  QObject::connect(&dialog, &CAmbrellDlg::ScanCompleted, [&] {
    const double seconds = clock.nsecsElapsed() / 1e9;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const qint64 finalPass = clock.elapsed() - lastTurn;  // the completion ran since the last turn
    int items = 0;
    for (QTreeWidgetItemIterator it(&dialog.Tree()); *it != nullptr; ++it) ++items;
    std::printf("%.3f %d %lld %lld %.6f\n", seconds, items, static_cast<long long>(longestStall),
                static_cast<long long>(finalPass), static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9);
    application.quit();
  });
  return application.exec();
}
