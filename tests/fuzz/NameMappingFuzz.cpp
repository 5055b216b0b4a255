// The mapping of Linux names that no engine path could hold. Must hold:
// mapping and then unmapping gives back the bytes; the mapped form holds
// none of the bytes it exists to avoid; a name that needs no mapping, or a
// text that needs no unmapping, comes back unchanged.

#include "platform/posix/NameMapping.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string name(reinterpret_cast<const char*>(data), size);
  const std::string mapped = MapName(name);
  FUZZ_CHECK(UnmapName(mapped) == name);
  FUZZ_CHECK(NeedsMapping(name) || mapped == name);
  // A listing's name, which holds no NUL, is scanned as a C string.
  if (name.find('\0') == std::string::npos)
    FUZZ_CHECK(NeedsMapping(name.c_str()) == NeedsMapping(std::string_view(name)));
  FUZZ_CHECK(mapped.find_first_of(":\\\"|<>") == std::string::npos);

  // Any text at all, as if a listing had handed it over.
  std::string native = "left over";
  UnmapNameInto(name, native);
  FUZZ_CHECK(NeedsUnmapping(name) || native == name);
  std::string again = "left over";
  MapNameInto(name, again);
  FUZZ_CHECK(again == mapped);
  return 0;
}
