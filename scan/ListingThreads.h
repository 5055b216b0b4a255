#pragma once
// How many threads list folders during a scan. Users choose with the
// report's --threads or, for every program, the AMBRELL_THREADS variable;
// otherwise each disk gets the count measured to be fastest, and a disk
// that seeks gets one: listing there in parallel makes a scan slower.

#include <functional>
#include <memory>
#include <string>

#include "scan/FileSystem.h"

// Eight on two cores: as fast as four on a warm disk, and faster cold, where the
// threads wait for the disk more than they work.
constexpr unsigned kDefaultListingThreads = 8;
constexpr unsigned kMostListingThreads = 64;
extern const char kListingThreadsVariable[];  // "AMBRELL_THREADS"

// A whole number from 1 to kMostListingThreads; false for anything else.
bool ParseListingThreads(const std::string& text, unsigned& threads);

// The count AMBRELL_THREADS asks for, 0 when it is unset or empty. False,
// with a message naming the variable, when it holds anything but a count.
bool ListingThreadsFromEnvironment(unsigned& threads, std::string& error);

// chosen when it is not 0, else what AMBRELL_THREADS asks for, else 0 (a
// variable that holds no count is left to the program to complain of).
unsigned AskedListingThreads(unsigned chosen);

// For one disk: the count asked for, or when none was (0) the default,
// one thread on a disk that seeks.
unsigned ListingThreadsFor(unsigned asked, bool diskSeeks);

// inner listed ahead of the walk: each drive with the threads chosen (0: what
// AMBRELL_THREADS asks for), or when none were asked for with its disk's default,
// diskSeeks asked once per drive. onThreadStart runs first on each listing thread.
std::unique_ptr<FileSystem> ListedAhead(std::unique_ptr<FileSystem> inner, unsigned chosen,
                                        std::function<bool(char driveLetter)> diskSeeks,
                                        std::function<void()> onThreadStart = nullptr);
