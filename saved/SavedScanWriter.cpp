#include "saved/SavedScanWriter.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "scan/FolderRecord.h"

#ifndef AMBRELL_VERSION
#error "AMBRELL_VERSION names the program's version"
#endif

namespace {

class JsonWriter {
 public:
  explicit JsonWriter(const SavedScanSink& sink) : m_sink(sink) {}
  ~JsonWriter() = default;

  void Raw(const char* text) { m_buffer += text; }
  void Number(std::uint64_t value) { m_buffer += std::to_string(value); }

  // Bytes as they are (names need not be UTF-8); only what JSON forbids
  // in a string is escaped.
  void String(const char* text) {
    static const char kHex[] = "0123456789abcdef";
    m_buffer += '"';
    for (const char* p = text; *p != '\0'; ++p) {
      const unsigned char c = static_cast<unsigned char>(*p);
      switch (c) {
        case '"':
          m_buffer += "\\\"";
          break;
        case '\\':
          m_buffer += "\\\\";
          break;
        case '\b':
          m_buffer += "\\b";
          break;
        case '\f':
          m_buffer += "\\f";
          break;
        case '\n':
          m_buffer += "\\n";
          break;
        case '\r':
          m_buffer += "\\r";
          break;
        case '\t':
          m_buffer += "\\t";
          break;
        default:
          if (c < 0x20 || c == 0x7F) {
            m_buffer += "\\u00";
            m_buffer += kHex[c >> 4];
            m_buffer += kHex[c & 0xF];
          } else {
            m_buffer += static_cast<char>(c);
          }
      }
    }
    m_buffer += '"';
    if (m_buffer.size() >= kChunkSize) Flush();
  }

  void Flush() {
    if (!m_buffer.empty()) m_sink(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
  }

 private:
  static constexpr std::size_t kChunkSize = 1 << 16;
  const SavedScanSink& m_sink;
  std::string m_buffer;
};

// The kept files of each folder that has any.
using FilesByFolder = std::unordered_map<const FolderRecord*, std::vector<const LargeFile*>>;

FilesByFolder ByFolder(const LargestFiles* largest) {
  FilesByFolder byFolder;
  if (largest == nullptr) return byFolder;
  for (const LargeFile* file : largest->Sorted()) byFolder[file->folder].push_back(file);
  return byFolder;
}

class DriveWriter {
 public:
  DriveWriter(const TreeView& tree, const DisplayText& display, const LargestFiles* largest, JsonWriter& out)
      : m_tree(tree), m_display(display), m_files(ByFolder(largest)), m_out(out) {}

  // Depth first, moving only along the tree's links: no stack, however deep.
  void Write(TreeItem drive) {
    TreeItem item = drive;
    OpenFolder(item, true);
    for (;;) {
      if (m_tree.ItemHasChildren(item)) {
        item = m_tree.GetChildItem(item);
        OpenFolder(item, false);
        continue;
      }
      m_out.Raw("]");
      while (item != drive && m_tree.GetNextSiblingItem(item) == kNoItem) {
        item = m_tree.GetParentItem(item);
        m_out.Raw("]");
      }
      if (item == drive) return;
      item = m_tree.GetNextSiblingItem(item);
      OpenFolder(item, false);
    }
  }

 private:
  // The folder's own size is 0 and its files are one entry of their own:
  // peers that ignore a folder's size (gdu) and peers that count it as the
  // folder entry's own (ncdu, and so a file ncdu saved again) then total
  // exactly as we do.
  void OpenFolder(TreeItem item, bool isDrive) {
    const FolderRecord* record = m_tree.GetItemData(item);
    m_out.Raw(isDrive ? "[{\"name\":" : ",\n[{\"name\":");
    m_out.String(TextOrEmpty(m_display.ForName(record->name, isDrive)));
    m_out.Raw(",\"asize\":0,\"dsize\":0");
    if (record->unreadable || record->incomplete) m_out.Raw(",\"read_error\":true");
    m_out.Raw("}");
    std::uint64_t ownFiles = record->ownFiles;
    const auto kept = m_files.find(record);
    if (kept != m_files.end()) {
      for (const LargeFile* file : kept->second) {
        WriteFile(TextOrEmpty(m_display.ForName(file->name.c_str(), false)), file->size, false);
        ownFiles -= std::min(ownFiles, file->size);
      }
    }
    if (ownFiles != 0) WriteFile(kOwnFilesName, ownFiles, true);
  }

  void WriteFile(const char* name, std::uint64_t size, bool ownFiles) {
    m_out.Raw(",\n{\"name\":");
    m_out.String(name);
    m_out.Raw(",\"asize\":");
    m_out.Number(size);
    m_out.Raw(",\"dsize\":");
    m_out.Number(size);
    if (ownFiles) {
      m_out.Raw(",");
      m_out.String(kOwnFilesKey);
      m_out.Raw(":true");
    }
    m_out.Raw("}");
  }

  const TreeView& m_tree;
  const DisplayText& m_display;
  FilesByFolder m_files;
  JsonWriter& m_out;
};

}  // namespace

void WriteSavedScan(const TreeView& tree, TreeItem drive, const DisplayText& display, std::int64_t timestamp,
                    const SavedScanSink& sink, const LargestFiles* largest) {
  JsonWriter out(sink);
  out.Raw("[1,2,{\"progname\":\"ambrell\",\"progver\":\"" AMBRELL_VERSION "\",\"timestamp\":");
  out.Raw(std::to_string(timestamp).c_str());
  out.Raw("},\n");
  DriveWriter(tree, display, largest, out).Write(drive);
  out.Raw("]\n");
  out.Flush();
}
