#pragma once
// Small machines made at random for storms: one to three drives (one of them perhaps
// not fixed), folders a few levels deep in any order among the files, some empty,
// some that cannot be listed, and file sizes on both sides of every unit's edge.

#include <memory>
#include <string>

#include "tests/support/MemoryFileSystem.h"
#include "tests/support/StormRandom.h"

std::shared_ptr<MemoryFileSystem> MakeRandomMachine(StormRandom& random);

// A point where the gate can hold the worker: the opening of a folder of the machine
// (a drive's root among them) or the reading of one of its entries.
std::string RandomGatePoint(const MemoryFileSystem& machine, StormRandom& random);
