#pragma once
// In-memory trees built to trip a walk or a lister up: deep chains, wide
// and huge folders, folders that fail or are empty, names no path can hold,
// repeated names, drives that are not fixed. Each is deterministic, so two
// runs over the same tree must give the same insertions.

#include <functional>
#include <string>
#include <vector>

#include "tests/support/MemoryFileSystem.h"

struct AdversarialTree {
  std::string name;
  std::function<void(MemoryFileSystem&)> build;
};

std::vector<AdversarialTree> AdversarialTrees();
