#pragma once
// The threads that list ahead of the walk keep both cores busy. At the
// same priority as the walk and the dialog's GUI thread they took turns
// with them: the GUI thread went 180 ms (at worst 535 ms) without seeing
// its events, and the walk waited for the folders it was to take next.

// The calling thread gives way to the process's other threads: its nice
// value goes up by kYieldingNiceSteps, up to the lowest priority there is.
void LowerThisThreadsPriority();

constexpr int kYieldingNiceSteps = 5;
