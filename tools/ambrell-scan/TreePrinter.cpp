#include "tools/ambrell-scan/TreePrinter.h"

#include <string>

namespace {

class LineWriter {
 public:
  explicit LineWriter(const TextSink& sink) : m_sink(sink) {}
  ~LineWriter() { FlushBuffer(); }

  void Write(int depth, const std::string& text) {
    m_buffer.append(static_cast<std::size_t>(depth) * 2, ' ');
    m_buffer += text;
    m_buffer += '\n';
    if (m_buffer.size() >= kFlushSize) FlushBuffer();
  }

 private:
  static constexpr std::size_t kFlushSize = 1 << 16;
  void FlushBuffer() {
    if (!m_buffer.empty()) m_sink(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
  }
  const TextSink& m_sink;
  std::string m_buffer;
};

}  // namespace

void PrintTree(const MemoryTree& tree, int maxDepth, const TextSink& sink) {
  LineWriter writer(sink);
  int depth = 0;
  TreeItem item = tree.GetRootItem();
  while (item != kNoItem) {
    writer.Write(depth, tree.GetItemText(item));
    // Below the depth limit the walk does not descend at all.
    if (tree.ItemHasChildren(item) && (maxDepth < 0 || depth < maxDepth)) {
      item = tree.GetChildItem(item);
      ++depth;
      continue;
    }
    TreeItem next;
    while ((next = tree.GetNextSiblingItem(item)) == kNoItem) {
      item = tree.GetParentItem(item);
      --depth;
      if (item == kNoItem) return;
    }
    item = next;
  }
}
