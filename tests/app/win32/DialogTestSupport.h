#pragma once
// Driving a real dialog of the program from a test: services with an
// in-memory file system, a message pump that runs until a condition holds,
// and the tree's labels as text.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/win32/AmbrellServices.h"
#include "app/win32/FolderTreeIndex.h"
#include "tests/support/MemoryFileSystem.h"

// Dispatches this thread's messages until done() holds; false if it still
// does not after a generous limit (a hang guard, not a timing check).
bool PumpUntil(const std::function<bool()>& done);

// Waits, without serving it, until another thread is blocked sending this
// thread a message.
bool WaitForIncomingSentMessage();

struct RecordedProcesses {
  std::vector<std::string> commandLines;
};

// Digits grouped by three with a comma, names as they are (saved drives as on Windows),
// and programs only recorded.
AmbrellServices TestServices(std::shared_ptr<MemoryFileSystem> fileSystem,
                             std::shared_ptr<RecordedProcesses> processes, std::size_t batchSize = 1000);

// One line per item in tree order, two blanks of indent a level.
std::string DumpLabels(const FolderTreeIndex& tree);
// The item whose label starts with name followed by the label's blanks, or kNoItem.
TreeItem FindItem(const FolderTreeIndex& tree, const std::string& name);

std::string WindowText(HWND window);

// A top-level window of this thread with the class and the title given (null: any).
// FindWindow would search every program on the desktop, and under Wine the tests run
// side by side on one desktop: another test's window of the same title is no answer.
HWND FindThreadWindow(const char* className, const char* title);
