#include "saved/SavedScanReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/Utf8File.h"
#include "saved/JsonTokenizer.h"
#include "saved/SavedScanWriter.h"

namespace {

// No file system allows a name near this long (255 bytes on Linux, 255
// UTF-16 units on NTFS): a longer one only makes labelling it slow.
constexpr std::size_t kLongestName = 4096;

// What an entry's object says about it; everything else is skipped.
struct EntryInfo {
  std::string name;
  bool hasName = false;
  TextPosition nameAt;
  std::uint64_t size = 0;
  bool readError = false;
  bool ownFiles = false;  // our entry for a folder's files
  std::string excluded;
};

bool IsScalar(JsonToken token) {
  return token == JsonToken::String || token == JsonToken::Number || token == JsonToken::True ||
         token == JsonToken::False || token == JsonToken::Null;
}

// Excluded entries that were folders of another file system: a scan shows
// a mount point as an empty folder.
bool IsOtherFileSystem(const std::string& excluded) {
  return excluded == "otherfs" || excluded == "othfs" || excluded == "kernfs" || excluded == "frmlnk";
}

class SavedScanParser {
 public:
  explicit SavedScanParser(ByteSource& source) : m_tokens(source) {}

  SavedScan Parse() {
    ReadHeader();
    ReadTree();
    const JsonToken after = Next();
    if (after == JsonToken::Comma) Fail("a second folder tree: a saved scan holds one");
    if (after != JsonToken::EndArray) Fail("expected ']' after the folder tree");
    if (Next() != JsonToken::End) Fail("unexpected data after the saved scan");
    return std::move(m_scan);
  }

 private:
  JsonToken Next() { return m_tokens.Next(); }
  [[noreturn]] void Fail(const std::string& message) const { m_tokens.FailAtToken(message); }

  void Expect(JsonToken expected, const char* what) {
    const JsonToken token = Next();
    if (token == expected) return;
    if (token == JsonToken::End) Fail("the file ends before the saved scan does");
    Fail(std::string("expected ") + what);
  }

  // [1, minor, {metadata}, ...
  void ReadHeader() {
    JsonToken first;
    try {
      first = Next();
    } catch (const JsonError&) {
      first = JsonToken::End;
    }
    if (first != JsonToken::BeginArray) {
      throw JsonError(TextPosition{}, "not a saved scan: ncdu's JSON export format begins with '['");
    }
    Expect(JsonToken::Number, "the major version number");
    if (m_tokens.Text() != "1") Fail("major version " + m_tokens.Text() + ": only version 1 can be read");
    Expect(JsonToken::Comma, "','");
    Expect(JsonToken::Number, "the minor version number");
    Expect(JsonToken::Comma, "','");
    Expect(JsonToken::BeginObject, "the metadata (an object)");
    ReadMetadata();
    Expect(JsonToken::Comma, "','");
  }

  void ReadMetadata() {
    ReadObjectMembers([this](const std::string& key, JsonToken value) {
      if (key == "progname" && value == JsonToken::String) {
        m_folderSizeIsOwnFiles = m_tokens.Text() == "ambrell";
      } else {
        SkipValue(value);
      }
    });
  }

  // Calls member(key, first token of the value) for each member of an
  // object whose '{' was just read; member consumes the value.
  template <typename Member>
  void ReadObjectMembers(Member&& member) {
    JsonToken token = Next();
    if (token == JsonToken::EndObject) return;
    for (;;) {
      if (token != JsonToken::String) FailExpecting("a key (a string)", token);
      const std::string key = m_tokens.Text();
      Expect(JsonToken::Colon, "':'");
      member(key, Next());
      token = Next();
      if (token == JsonToken::EndObject) return;
      if (token != JsonToken::Comma) FailExpecting("',' or '}'", token);
      token = Next();
    }
  }

  [[noreturn]] void FailExpecting(const char* what, JsonToken found) const {
    if (found == JsonToken::End) Fail("the file ends before the saved scan does");
    if (found == JsonToken::BeginArray) Fail(std::string("expected ") + what + ", found an array");
    if (found == JsonToken::BeginObject) Fail(std::string("expected ") + what + ", found an object");
    Fail(std::string("expected ") + what);
  }

  // The folder tree, without recursion: a stack of the folders open.
  void ReadTree() {
    JsonToken token = Next();
    if (token != JsonToken::BeginArray) FailExpecting("the root folder (an array)", token);
    std::vector<std::size_t> open;
    StartFolder(open);
    while (!open.empty()) {
      token = Next();
      if (token == JsonToken::EndArray) {
        open.pop_back();
        continue;
      }
      if (token != JsonToken::Comma) FailExpecting("',' or ']'", token);
      token = Next();
      if (token == JsonToken::BeginArray) {
        StartFolder(open);
      } else if (token == JsonToken::BeginObject) {
        AddEntry(open.back(), ReadEntryInfo());
      } else {
        FailExpecting("a file (an object) or a folder (an array)", token);
      }
    }
  }

  // After a folder's '[': its object, then it is the folder entries go into.
  void StartFolder(std::vector<std::size_t>& open) {
    const JsonToken token = Next();
    if (token != JsonToken::BeginObject) FailExpecting("the folder's name and size (an object)", token);
    const bool isRoot = open.empty();
    const EntryInfo info = ReadEntryInfo();
    if (!isRoot) CheckComponentName(info);
    const std::size_t parent = isRoot ? SavedScan::kNoParent : open.back();
    const std::size_t folder = m_scan.AddFolder(parent, info.name, info.readError);
    if (m_folderSizeIsOwnFiles) m_scan.AddSize(folder, info.size);
    open.push_back(folder);
  }

  void AddEntry(std::size_t folder, const EntryInfo& info) {
    CheckComponentName(info);
    if (info.ownFiles) {
      m_scan.AddSize(folder, info.size);
    } else if (info.excluded.empty()) {
      m_scan.AddFile(folder, info.name, info.size);
    } else if (IsOtherFileSystem(info.excluded)) {
      m_scan.AddFolder(folder, info.name, false);
    }
  }

  EntryInfo ReadEntryInfo() {
    const TextPosition start = m_tokens.Where();
    EntryInfo info;
    ReadObjectMembers(
        [this, &info](const std::string& key, JsonToken value) { ReadEntryMember(key, value, info); });
    if (!info.hasName) throw JsonError(start, "an entry without a name");
    return info;
  }

  void ReadEntryMember(const std::string& key, JsonToken value, EntryInfo& info) {
    if (key == "name") {
      if (value != JsonToken::String) FailExpecting("a name (a string)", value);
      info.name = m_tokens.Text();
      info.hasName = true;
      info.nameAt = m_tokens.Where();
      if (info.name.empty()) Fail("an empty name");
      if (info.name.find('\0') != std::string::npos) Fail("a name holds a NUL character");
    } else if (key == "asize") {
      info.size = ReadSize(value);
    } else if (key == "read_error" && (value == JsonToken::True || value == JsonToken::False)) {
      info.readError = value == JsonToken::True;
    } else if (key == kOwnFilesKey && value == JsonToken::True) {
      info.ownFiles = true;
    } else if (key == "excluded" && value == JsonToken::String) {
      info.excluded = m_tokens.Text().empty() ? "pattern" : m_tokens.Text();
    } else if (key == "excluded" && value == JsonToken::True) {
      info.excluded = "pattern";
    } else {
      SkipValue(value);
    }
  }

  std::uint64_t ReadSize(JsonToken value) const {
    const std::string& text = m_tokens.Text();
    if (value != JsonToken::Number || text.find_first_not_of("0123456789") != std::string::npos) {
      Fail("a size must be a whole number of bytes");
    }
    std::uint64_t size = 0;
    for (const char digit : text) {
      const unsigned add = static_cast<unsigned>(digit - '0');
      if (size > (std::numeric_limits<std::uint64_t>::max() - add) / 10) {
        Fail("a size larger than 18446744073709551615 bytes");
      }
      size = size * 10 + add;
    }
    return size;
  }

  // A name below the root is one component of a path. (The root's name is
  // a path, which may be longer.)
  static void CheckComponentName(const EntryInfo& info) {
    if (info.name.size() > kLongestName) {
      throw JsonError(info.nameAt, "a name longer than " + std::to_string(kLongestName) + " bytes");
    }
    if (info.name == "." || info.name == ".." || info.name.find('/') != std::string::npos) {
      throw JsonError(info.nameAt, "'" + info.name + "' is no file name");
    }
  }

  // Skips a value whose first token was read, checking its syntax; nested
  // values are tracked on a stack, not by recursion.
  void SkipValue(JsonToken first) {
    if (IsScalar(first)) return;
    if (first != JsonToken::BeginArray && first != JsonToken::BeginObject) FailExpecting("a value", first);
    std::vector<bool> inObject{first == JsonToken::BeginObject};
    bool justOpened = true;
    while (!inObject.empty()) {
      JsonToken token = Next();
      const JsonToken closing = inObject.back() ? JsonToken::EndObject : JsonToken::EndArray;
      if (token == closing) {
        inObject.pop_back();
        justOpened = false;
        continue;
      }
      if (!justOpened) {
        if (token != JsonToken::Comma) FailExpecting(inObject.back() ? "',' or '}'" : "',' or ']'", token);
        token = Next();
      }
      justOpened = false;
      if (inObject.back()) {
        if (token != JsonToken::String) FailExpecting("a key (a string)", token);
        Expect(JsonToken::Colon, "':'");
        token = Next();
      }
      if (token == JsonToken::BeginArray || token == JsonToken::BeginObject) {
        inObject.push_back(token == JsonToken::BeginObject);
        justOpened = true;
      } else if (!IsScalar(token)) {
        FailExpecting("a value", token);
      }
    }
  }

  JsonTokenizer m_tokens;
  SavedScan m_scan;
  bool m_folderSizeIsOwnFiles = false;
};

}  // namespace

bool ReadSavedScan(ByteSource& source, const std::string& fileName, SavedScan& scan, std::string& error) {
  try {
    SavedScanParser parser(source);
    scan = parser.Parse();
    return true;
  } catch (const JsonError& problem) {
    error = fileName + ":" + std::to_string(problem.Where().line) + ":" +
            std::to_string(problem.Where().column) + ": " + problem.what();
    return false;
  }
}

bool ReadSavedScanFile(const std::string& path, SavedScan& scan, std::string& error) {
  std::FILE* file = OpenUtf8File(path, "rb");
  if (file == nullptr) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  FileSource source(file);
  const bool read = ReadSavedScan(source, path, scan, error);
  std::fclose(file);
  return read;
}
