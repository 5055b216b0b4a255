#pragma once
// What the Linux dialog shows, from its command line: every local disk when given
// nothing, each folder given as a drive of its own, or the saved scans given
// (arguments that are regular files), each a drive.

#include <string>
#include <vector>

#include "app/SavedScanFiles.h"
#include "platform/Platform.h"

// The first argument that begins with '-' is the only option that counts: the dialog
// takes none but these two.
enum class DialogOption { None, Help, Version, Unknown };
DialogOption FirstOption(const std::vector<std::string>& arguments);

// Prints what a Help or Version option asks for on standard output, or the usage on
// standard error for an unknown one, and returns the exit status: 0, or 2 for an
// unknown option (1 when standard output cannot be written).
int AnswerOption(DialogOption option);

// False, with a message naming the argument (and for a saved scan the line and
// column), when a folder is missing, a file does not read, or folders and saved scans
// are mixed. saved stays empty unless saved scans were given.
bool OpenArguments(const std::vector<std::string>& arguments, PlatformServices& platform, SavedScanSet& saved,
                   std::string& error);
