#pragma once
// Opens a folder below an open one by a path of many names in as few calls
// as the kernel allows, never following a symbolic link nor crossing into
// another mount on the way: a folder swapped for a link to '/' fails
// instead of leading out of the tree.

#include <string>
#include <string_view>

#include "platform/posix/UniqueFd.h"

// relative: native names joined by '/', none of them '.' or '..', no
// leading or trailing '/'. Opened with O_PATH; closed with errno set on
// failure.
UniqueFd OpenFolderBeneath(int folder, std::string_view relative);

// Opens the folder `name` (one native name, or "." for `folder` itself) in
// `folder` for reading its entries, without following a link. A folder that
// is the root of another mount is not entered: null, errno EXDEV.
UniqueFd OpenFolderForListing(int folder, const char* name);
