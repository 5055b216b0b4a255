#include "app/ScanProgressFollower.h"

#include <cmath>

void ScanProgressFollower::Follow(ProgressIndicator* indicator, const ScanProgress* progress) {
  Stop();
  m_indicator = indicator;
  m_progress = progress;
  Update();
}

void ScanProgressFollower::Update() {
  if (m_indicator == nullptr || m_progress == nullptr) return;
  const ProgressFigures figures = m_progress->Read();
  if (figures.folders == 0 && figures.bytes == 0 && !figures.finished) return;
  double share = 0;
  if (!ShareOf(figures, share)) {
    Show(Shown::Indeterminate, 0);
    return;
  }
  // Held below the whole while running, so rounding never reaches it before the end.
  Show(Shown::Share, static_cast<int>(std::lround(share * kShareSteps)));
}

void ScanProgressFollower::Show(Shown shown, int steps) {
  if (shown == m_shown && (shown != Shown::Share || steps == m_steps)) return;
  m_shown = shown;
  m_steps = steps;
  if (shown == Shown::Share) {
    m_indicator->ShowShare(static_cast<double>(steps) / kShareSteps);
  } else {
    m_indicator->ShowIndeterminate();
  }
}

void ScanProgressFollower::Stop() {
  if (m_shown != Shown::Nothing) m_indicator->Clear();
  m_shown = Shown::Nothing;
  m_indicator = nullptr;
  m_progress = nullptr;
}
