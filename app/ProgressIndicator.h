#pragma once
// Where a running scan shows how far it has come outside the dialog: the taskbar
// button on Windows, the launcher entry on Linux. Each call replaces what the
// previous one showed; ScanProgressFollower makes them only when that changes.

class ProgressIndicator {
 public:
  virtual ~ProgressIndicator() = default;
  // From 0 to 1.
  virtual void ShowShare(double share) = 0;
  // Busy, with no telling how far.
  virtual void ShowIndeterminate() = 0;
  // Nothing shown.
  virtual void Clear() = 0;
};
