#pragma once
// Carries one scan's figures to a ProgressIndicator on the GUI thread: read at the
// scan's start, at every hand-over tick and at its end, and passed on only when what
// the indicator shows would change. Nothing shows until the walk has counted
// something, so a scan's first moments show no busy state that its share replaces
// at once; a scan without a share (a folder walked again) shows busy.

#include "app/ProgressIndicator.h"
#include "scan/ScanProgress.h"

class ScanProgressFollower {
 public:
  // Steps of the share: finer ones would only repaint a bar a few dozen pixels wide.
  static constexpr int kShareSteps = 1000;

  // Clears whatever an earlier scan showed, then follows this one's figures, which
  // must stay valid until Stop. Either may be null: nothing is shown.
  void Follow(ProgressIndicator* indicator, const ScanProgress* progress);
  void Update();
  // The scan ended, was aborted or the dialog closes: the indicator is cleared.
  void Stop();

 private:
  enum class Shown { Nothing, Indeterminate, Share };
  void Show(Shown shown, int steps);

  ProgressIndicator* m_indicator = nullptr;
  const ScanProgress* m_progress = nullptr;
  Shown m_shown = Shown::Nothing;
  int m_steps = 0;  // of the share shown
};
