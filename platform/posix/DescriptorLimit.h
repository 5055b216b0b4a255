#pragma once
// The scan holds a folder open for each parent whose subfolders are yet to
// be listed: on a wide tree, more than the 1,024 descriptors a desktop
// session usually allows a process at first. The hard limit is the
// system's word on what the process may have; the soft one a default kept
// low for programs that still use select().

// Raises this process's soft limit on open descriptors towards the hard
// one, up to kWantedDescriptors; never lowers it. Once is enough.
void RaiseDescriptorLimit();

// Called in a child between fork and exec, so that a program started from
// here gets the soft limit this process started with, as if it had been
// started from the desktop. The limit is set before the program runs: set
// from the parent afterwards, the program could already have read it. Only
// reads what RaiseDescriptorLimit published and makes one system call, so
// it is safe after fork in a process with threads.
void GiveOriginalDescriptorLimitToThisChild() noexcept;

constexpr unsigned long kWantedDescriptors = 16384;
