// Ambrell on Linux: the folder size dialog over every local disk, over the folders
// given on the command line, or over the saved scans given, each shown as a drive of
// its own.

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/SavedScanFiles.h"
#include "app/qt/AmbrellDlg.h"
#include "app/qt/CommandLine.h"
#include "app/qt/Pictures.h"
#include "platform/Platform.h"
#include "scan/ListingThreads.h"
#include "text/NameQuoting.h"

namespace {

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

QIcon ProgramIcon() {
  InitPictures();
  QIcon icon;
  for (const char* size : {"16", "32", "64"})
    icon.addFile(QStringLiteral(":/pictures/ambrell-%1.png").arg(size));
  return icon;
}

}  // namespace

int main(int argc, char** argv) {
  // Answered without a display, as any command-line tool answers them.
  const DialogOption early = FirstOption(std::vector<std::string>(argv + 1, argv + argc));
  if (early == DialogOption::Help || early == DialogOption::Version) return AnswerOption(early);
  if (!HasDisplay()) {
    std::fputs("ambrell: no display to show the dialog on; ambrell-scan prints the same tree as text\n",
               stderr);
    return 1;
  }
  QApplication application(argc, argv);
  QApplication::setWindowIcon(ProgramIcon());

  // QApplication has taken its own options out of argv by now.
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (const DialogOption option = FirstOption(arguments); option != DialogOption::None)
    return AnswerOption(option);
  auto platform = std::make_shared<PlatformServices>();
  SavedScanSet saved;
  std::string error;
  unsigned threads = 0;
  if (!ListingThreadsFromEnvironment(threads, error)) {
    std::fprintf(stderr, "ambrell: %s; each disk is listed with its default\n",
                 EscapeForTerminal(error).c_str());
    error.clear();
  }
  if (!OpenArguments(arguments, *platform, saved, error)) {
    ReportSavedScanError(error);
    return 2;
  }
  CAmbrellDlg dialog(ServicesFromPlatform(platform), std::move(saved));
  dialog.exec();
  return 0;
}
