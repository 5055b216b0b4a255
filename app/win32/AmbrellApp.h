#pragma once

// The program's start-up: runs the main dialog modally; the program ends when
// it closes. There is no message loop but the dialog's.
class CAmbrellApp {
 public:
  // Returns false: nothing is left to run once the dialog has ended.
  bool InitInstance();
  // 2 when the saved scans the command line names could not be read; else 0.
  int ExitCode() const { return m_exitCode; }

 private:
  int m_exitCode = 0;
};
