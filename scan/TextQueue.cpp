#include "scan/TextQueue.h"

#include <algorithm>
#include <cstring>
#include <functional>

bool TextQueue::Block::Holds(const char* text) const {
  return std::less_equal<const char*>()(data.get(), text) &&
         std::less<const char*>()(text, data.get() + used);
}

const char* TextQueue::Push(std::string_view first, std::string_view second, std::string_view third) {
  const std::size_t length = first.size() + second.size() + third.size();
  if (m_blocks.empty() || m_blocks.back().size - m_blocks.back().used <= length) {
    Block block;
    if (m_spare.size > length) {
      block = std::move(m_spare);
      m_spare = Block();
    } else {
      // Room for two at least: paths thousands of levels deep outgrow a block.
      block.size = std::max(kBlockBytes, 2 * (length + 1));
      block.data.reset(new char[block.size]);
    }
    block.used = 0;
    m_blocks.push_back(std::move(block));
  }
  Block& last = m_blocks.back();
  char* const text = last.data.get() + last.used;
  char* end = std::copy(first.begin(), first.end(), text);
  end = std::copy(second.begin(), second.end(), end);
  end = std::copy(third.begin(), third.end(), end);
  *end = '\0';
  last.used += length + 1;
  return text;
}

void TextQueue::DropBefore(const char* oldest) {
  while (m_blocks.size() > 1 && !m_blocks.front().Holds(oldest)) {
    Retire(m_blocks.front());
    m_blocks.pop_front();
  }
}

void TextQueue::Clear() {
  for (Block& block : m_blocks) Retire(block);
  m_blocks.clear();
}

// The larger block is kept: the next text may be as long as the last.
void TextQueue::Retire(Block& block) {
  if (block.size > m_spare.size) m_spare = std::move(block);
}
