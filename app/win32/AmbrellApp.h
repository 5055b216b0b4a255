#pragma once

// The program's start-up: runs the main dialog modally; the program ends when
// it closes. There is no message loop but the dialog's.
class CAmbrellApp {
 public:
  // Returns false: nothing is left to run once the dialog has ended.
  bool InitInstance();
};
