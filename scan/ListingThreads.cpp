#include "scan/ListingThreads.h"

#include <cstdlib>
#include <utility>

#include "scan/ReadAheadFileSystem.h"

const char kListingThreadsVariable[] = "AMBRELL_THREADS";

bool ParseListingThreads(const std::string& text, unsigned& threads) {
  if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  const unsigned long value = std::strtoul(text.c_str(), nullptr, 10);
  if (value < 1 || value > kMostListingThreads) return false;
  threads = static_cast<unsigned>(value);
  return true;
}

bool ListingThreadsFromEnvironment(unsigned& threads, std::string& error) {
  threads = 0;
  const char* value = std::getenv(kListingThreadsVariable);
  if (value == nullptr || *value == '\0') return true;
  if (ParseListingThreads(value, threads)) return true;
  error = std::string(kListingThreadsVariable) + " takes a whole number from 1 to " +
          std::to_string(kMostListingThreads);
  return false;
}

unsigned AskedListingThreads(unsigned chosen) {
  if (chosen != 0) return chosen;
  unsigned fromEnvironment = 0;
  std::string error;
  return ListingThreadsFromEnvironment(fromEnvironment, error) ? fromEnvironment : 0;
}

unsigned ListingThreadsFor(unsigned asked, bool diskSeeks) {
  if (asked != 0) return asked;
  return diskSeeks ? 1 : kDefaultListingThreads;
}

std::unique_ptr<FileSystem> ListedAhead(std::unique_ptr<FileSystem> inner, unsigned chosen,
                                        std::function<bool(char driveLetter)> diskSeeks,
                                        std::function<void()> onThreadStart) {
  const unsigned asked = AskedListingThreads(chosen);
  auto threadsFor = [asked, diskSeeks = std::move(diskSeeks)](char letter) {
    return asked != 0 ? asked : ListingThreadsFor(0, diskSeeks(letter));
  };
  return std::make_unique<ReadAheadFileSystem>(std::move(inner), std::move(threadsFor),
                                               std::move(onThreadStart));
}
