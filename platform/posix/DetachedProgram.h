#pragma once
// Starting another program and leaving it to run on its own, as the file
// browser is started. The program is run directly, never through a shell,
// and gets the soft limit on descriptors this process started with, set in
// the child before exec so that the program never sees the raised one.

#include <string>
#include <vector>

// The file a program name stands for: the name itself when it holds a '/',
// else the first executable regular file of that name in a folder of PATH.
// Empty when there is none.
std::string FindProgram(const std::string& name);

// Starts the program that name stands for with these arguments (after its
// name) and returns without waiting for it; it is reaped when it ends.
// False when it could not be started: not found, or its exec failed.
bool StartDetachedProgram(const std::string& name, const std::vector<std::string>& arguments);
