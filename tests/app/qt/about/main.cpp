#include <QApplication>

#include "AboutTests.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int failures = 0;
  failures += RunLinkStaticTests(argc, argv);
  failures += RunAboutDlgTests(argc, argv);
  return failures == 0 ? 0 : 1;
}
