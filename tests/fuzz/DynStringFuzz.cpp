// The string type: growth through appends (its own text included),
// assignment, trimming, parts, direct buffer access, and FormatV with the
// program's kind of fixed formats and fuzzed arguments. Must hold: the
// text always equals that of a std::string put through the same steps,
// and the buffer always has room for it and its terminator in one of the
// capacity classes.

#include <cstdarg>
#include <cstring>
#include <vector>

#include "tests/fuzz/FuzzInput.h"
#include "text/DynString.h"

namespace {

constexpr std::size_t kLongest = 1 << 16;

void Format(CDynString& string, std::string& model, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

void Format(CDynString& string, std::string& model, const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::vector<char> expected(static_cast<std::size_t>(needed < 0 ? 0 : needed) + 1);
  va_copy(copy, args);
  std::vsnprintf(expected.data(), expected.size(), format, copy);
  va_end(copy);
  string.FormatV(format, args);
  va_end(args);
  model = needed < 0 ? std::string() : std::string(expected.data());  // a NUL from %c ends the text
}

// A long argument now and then, to pass the 256-byte scratch and the trial sizes.
std::string Argument(FuzzInput& input) {
  const std::string text = input.Text();
  std::string argument;
  for (unsigned copies = 1 + input.Byte() % 4 * (input.Byte() % 64); copies > 0; --copies) argument += text;
  return argument;
}

void FormatWithArguments(FuzzInput& input, CDynString& string, std::string& model) {
  const std::string a = Argument(input);
  const std::string b = Argument(input);
  const std::uint64_t number = input.Number(8);
  const int width = static_cast<int>(input.Number(2) % 2000);
  switch (input.Byte() % 8) {
    case 0:
      return Format(string, model, "%s", a.c_str());
    case 1:
      return Format(string, model, "%s    (%s bytes)", a.c_str(), b.c_str());
    case 2:
      return Format(string, model, "%llu|%d|%u|%x", static_cast<unsigned long long>(number),
                    static_cast<int>(number), static_cast<unsigned>(number >> 7),
                    static_cast<unsigned>(number));
    case 3:
      return Format(string, model, "%c%s%c", static_cast<char>(number), a.c_str(),
                    static_cast<char>(number >> 8));
    case 4:
      return Format(string, model, "%*s|%-*d", width, a.c_str(), width, static_cast<int>(number));
    case 5:
      return Format(string, model, "%.*s", width, a.c_str());
    case 6:
      return Format(string, model, "%%%s%%%0*llu", a.c_str(), width, static_cast<unsigned long long>(number));
    default:
      return Format(string, model, "explorer.exe \"%s\"", a.c_str());
  }
}

void Step(FuzzInput& input, CDynString& string, std::string& model) {
  // Appending its own text doubles it: a few dozen steps would outgrow any memory.
  if (model.size() > kLongest) {
    string.Empty();
    model.clear();
  }
  const std::int32_t length = string.GetLength();
  switch (input.Byte() % 11) {
    case 0: {
      const std::string text = Argument(input);
      string.Append(text.c_str());
      model += text;
      return;
    }
    case 1: {
      const char c = static_cast<char>(input.Byte());
      string.Append(c);
      if (c != 0) model += c;
      return;
    }
    case 2: {  // a part of its own text: the buffer may move while it is read
      const std::int32_t start = length == 0 ? 0 : static_cast<std::int32_t>(input.Number(2) % length);
      if (string.GetText() == nullptr) return;
      const std::int32_t count = length - start;
      const std::string part = model.substr(static_cast<std::size_t>(start));
      string.Append(string.GetText() + start, count);
      model += part;
      return;
    }
    case 3: {
      const std::string text = Argument(input);
      string.Assign(text.c_str());
      model = text;
      return;
    }
    case 4:  // its own tail: an overlapping move
      if (string.GetText() == nullptr) return;
      model = model.substr(static_cast<std::size_t>(length == 0 ? 0 : input.Byte() % (length + 1)));
      string.Assign(string.GetText() + (length - static_cast<std::int32_t>(model.size())));
      return;
    case 5: {
      const char c = static_cast<char>(input.Byte());
      string.TrimRight(c);
      if (c != 0)
        model.erase(model.find_last_not_of(c) == std::string::npos ? 0 : model.find_last_not_of(c) + 1);
      return;
    }
    case 6: {
      const std::int32_t start = static_cast<std::int32_t>(input.Number(2) % (length + 5));
      const std::int32_t count = static_cast<std::int32_t>(input.Number(2) % (length + 6)) - 1;
      const CDynString part = string.Mid(start, count);
      const std::string expected =
          start >= length ? std::string()
          : count == -1   ? model.substr(static_cast<std::size_t>(start))
                          : model.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count));
      FUZZ_CHECK(TextOrEmpty(part) == expected);
      return;
    }
    case 7: {  // written directly, as the locale formatting does
      const std::int32_t size = static_cast<std::int32_t>(input.Number(2) % 3000) + 1;
      const std::int32_t written = static_cast<std::int32_t>(input.Number(2) % size);
      char* buffer = string.GetBuffer(size);
      std::memset(buffer, 'w', static_cast<std::size_t>(written));
      buffer[written] = 0;
      string.ReleaseBuffer(-1);
      model.assign(static_cast<std::size_t>(written), 'w');
      return;
    }
    case 8:
      string.Empty();
      model.clear();
      return;
    case 9: {
      CDynString copy(string, input.Byte() % 2 == 0 ? AllocHeap : AllocTaskMem);
      string = std::move(copy);
      return;
    }
    default:
      return FormatWithArguments(input, string, model);
  }
}

void CheckInvariants(const CDynString& string, const std::string& model) {
  FUZZ_CHECK(TextOrEmpty(string) == model);
  FUZZ_CHECK(string.GetLength() == static_cast<std::int32_t>(model.size()));
  if (string.GetText() == nullptr) return;
  const std::int32_t capacity = string.GetCapacity();
  FUZZ_CHECK(capacity > string.GetLength());
  FUZZ_CHECK(capacity > 512 || (capacity >= 16 && (capacity & (capacity - 1)) == 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  CDynString string(input.Byte() % 2 == 0 ? AllocHeap : AllocTaskMem);
  std::string model;
  for (int steps = 0; !input.Empty() && steps < 64; ++steps) {
    Step(input, string, model);
    CheckInvariants(string, model);
  }
  return 0;
}
