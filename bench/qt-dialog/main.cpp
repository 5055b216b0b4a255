// Times the Linux dialog on the folders given, from its start to a fully
// labelled tree, and measures the longest time its GUI thread went without
// turning to its event loop while the scan ran (how long a click on Abort
// could have waited), and how long the final totals and labels took.
//
//   ambrell-dialog-timer [--unit-changes] folder...
//   prints: seconds items longest-stall-while-scanning-ms final-pass-ms labelled-at
//   and with --unit-changes a second line: the milliseconds each change of unit took,
//   from the pick in the unit list until the tree had drawn the new labels.
//
// labelled-at is CLOCK_MONOTONIC's reading at the labelled tree, in seconds, so that a
// caller can time from the process's start without the teardown of its 100,000 items.

#include <time.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/qt/AmbrellDlg.h"
#include "app/qt/FolderTree.h"
#include "platform/Platform.h"
#include "scan/TreeWalk.h"

namespace {

// Counts the tree's paints, to see when the new labels have been drawn.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// Each unit in turn, from the pick until the tree has painted, with the top two levels
// expanded so that the tree is full of rows.
std::vector<double> TimeUnitChanges(CAmbrellDlg& dialog) {
  dialog.Tree().expandToDepth(1);
  QCoreApplication::processEvents();
  PaintCounter counter;
  dialog.Tree().viewport()->installEventFilter(&counter);
  std::vector<double> times;
  for (int unit : {0, 1, 3, 2}) {
    QElapsedTimer clock;
    clock.start();
    const int paints = counter.paints;
    dialog.Units().setCurrentIndex(unit);
    emit dialog.Units().activated(unit);
    while (counter.paints == paints) QCoreApplication::processEvents();
    times.push_back(clock.nsecsElapsed() / 1e6);
  }
  dialog.Tree().viewport()->removeEventFilter(&counter);
  return times;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  auto platform = std::make_shared<PlatformServices>();
  std::string error;
  const bool unitChanges = argc > 1 && std::string(argv[1]) == "--unit-changes";
  const int first = unitChanges ? 2 : 1;
  if (argc <= first || !OpenFolders(std::vector<std::string>(argv + first, argv + argc), *platform, error)) {
    std::fprintf(stderr, "usage: ambrell-dialog-timer [--unit-changes] folder...\n%s\n", error.c_str());
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
    WalkPreOrder(dialog.Tree(), [&items](TreeItem) { ++items; });
    std::printf("%.3f %d %lld %lld %.6f\n", seconds, items, static_cast<long long>(longestStall),
                static_cast<long long>(finalPass), static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9);
    if (unitChanges) {
      ticker.stop();
      for (double ms : TimeUnitChanges(dialog)) std::printf("%.1f ", ms);
      std::printf("\n");
    }
    application.quit();
  });
  return application.exec();
}
