#pragma once
// A scan's progress on the program's launcher entry (a dock's or task bar's icon),
// sent as the LauncherEntry signal over the session bus, which docks that show
// progress listen to. The launcher has no busy form: a scan without a share shows
// no bar. Without a session bus nothing is sent, and nothing is said about it.

#include <QString>

#include "app/ProgressIndicator.h"

class LauncherEntryProgress : public ProgressIndicator {
 public:
  // The desktop entry the docks know the program by.
  static constexpr const char* kApplicationUri = "application://ambrell.desktop";
  static constexpr const char* kInterface = "com.canonical.Unity.LauncherEntry";

  LauncherEntryProgress();

  void ShowShare(double share) override { Send(share, true); }
  void ShowIndeterminate() override { Send(0, false); }
  void Clear() override { Send(0, false); }

 private:
  void Send(double progress, bool visible);

  QString m_objectPath;  // one of this process's own
};
