#include <QApplication>

#include "DialogTests.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int failures = 0;
  failures += RunScanControlTests(argc, argv);
  failures += RunContextMenuTests(argc, argv);
  failures += RunLayoutTests(argc, argv);
  failures += RunSavedScanTests(argc, argv);
  failures += RunFolderModelTests(argc, argv);
  return failures == 0 ? 0 : 1;
}
