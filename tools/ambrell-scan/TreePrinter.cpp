#include "tools/ambrell-scan/TreePrinter.h"

#include <string>

#include "scan/TreeWalk.h"

namespace {

class LineWriter {
 public:
  explicit LineWriter(const TextSink& sink) : m_sink(sink) {}
  ~LineWriter() { FlushBuffer(); }

  void Write(int depth, std::string_view text) {
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

void PrintTree(const TreeView& tree, int maxDepth, FolderOrder order, const ItemText& text,
               const TextSink& sink, const FolderChanges* changes) {
  LineWriter writer(sink);
  const auto write = [&](TreeItem item, int depth) { writer.Write(depth, text(item)); };
  if (order == FolderOrder::Listed) {
    WalkPreOrderWithDepth(tree, maxDepth, write);  // needs no memory of its own, however deep
  } else {
    WalkPreOrderInOrder(tree, maxDepth, order, changes, write);
  }
}

void PrintTree(const MemoryTree& tree, int maxDepth, FolderOrder order, const TextSink& sink) {
  PrintTree(
      tree, maxDepth, order, [&tree](TreeItem item) { return tree.GetItemText(item); }, sink);
}
