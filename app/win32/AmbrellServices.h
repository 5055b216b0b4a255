#pragma once
// What the main dialog works with beyond its window: the drives it scans, how
// sizes and names are written, and how a program is started. The machine's
// own by default; tests hand in their own.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "scan/DisplayText.h"
#include "scan/FileSystem.h"
#include "text/GroupedNumber.h"

using ProcessStarter = std::function<std::uint32_t(const CDynString& commandLine, std::uint32_t flags)>;

struct AmbrellServices {
  std::shared_ptr<FileSystem> fileSystem;
  std::shared_ptr<NumberLocale> locale;
  std::shared_ptr<DisplayText> display;
  ProcessStarter runProcess;
  std::size_t insertionBatchSize = 1000;  // folders handed to the GUI thread at once
};

// Every fixed drive of the machine, the system's digit grouping, and RunProcess.
AmbrellServices MachineServices();
