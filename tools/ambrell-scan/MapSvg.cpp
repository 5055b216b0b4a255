#include "tools/ambrell-scan/MapSvg.h"

#include <cstdio>
#include <string>

#include "scan/DisplayPath.h"
#include "scan/SizeLabels.h"
#include "text/NameQuoting.h"
#include "tools/ambrell-scan/XmlText.h"

namespace {

constexpr int kFontSize = 11;
constexpr int kTextBaseline = 12;  // in the header strip, one pixel below its top margin
constexpr int kTextIndent = 3;
constexpr int kNarrowestLabel = 12;  // a header narrower than this shows no name
constexpr char kOwnFilesName[] = "(files in this folder)";
class SvgText {
 public:
  explicit SvgText(const SvgSink& sink) : m_sink(sink) {}
  ~SvgText() { Flush(); }
  std::string& Buffer() { return m_buffer; }
  // ' name="value"'
  void Attribute(const char* name, int value, const char* suffix = "") {
    m_buffer += ' ';
    m_buffer += name;
    m_buffer += "=\"";
    m_buffer += std::to_string(value);
    m_buffer += suffix;
    m_buffer += '"';
  }
  void FlushWhenFull() {
    if (m_buffer.size() >= kFlushSize) Flush();
  }

 private:
  static constexpr std::size_t kFlushSize = 1 << 16;
  void Flush() {
    if (!m_buffer.empty()) m_sink(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
  }
  const SvgSink& m_sink;
  std::string m_buffer;
};

// The title: the label --largest prints, 'PATH    (TOTAL UNIT)'.
void AppendTitle(const MapBlock& block, const MapSvgLabels& labels, std::string& label, std::string& out) {
  const std::string path = block.IsOwnFiles() ? DisplayPathOf(*block.record, kOwnFilesName, labels.display)
                                              : DisplayPathOf(*block.record, labels.display);
  label.clear();
  AppendSizeLabel(ElidedPath(QuoteName(path)), block.size, labels.unit, labels.locale, label);
  out += "<title>";
  AppendXmlText(label, out);
  out += "</title>";
}

// A one-pixel outline inside the block's edge, so that blocks of one shade
// stay apart.
void AppendRect(const MapBlock& block, SvgText& svg) {
  const MapRect& r = block.pixels;
  svg.Buffer() += "<rect";
  svg.Attribute("x", r.left, ".5");
  svg.Attribute("y", r.top, ".5");
  svg.Attribute("width", r.Width() - 1);
  svg.Attribute("height", r.Height() - 1);
  const MapColour& c = block.colour;
  char fill[16];
  std::snprintf(fill, sizeof fill, "#%02x%02x%02x", c.red, c.green, c.blue);
  svg.Buffer() += " fill=\"";
  svg.Buffer() += fill;
  svg.Buffer() += "\">";
}

// The name, cut off at the header's edge: a nested <svg> clips what it holds.
void AppendHeaderName(const MapBlock& block, const MapSvgLabels& labels, std::string& out, SvgText& svg) {
  const MapRect& h = block.header;
  if (h.Width() < kNarrowestLabel) return;
  out += "<svg";
  svg.Attribute("x", h.left);
  svg.Attribute("y", h.top);
  svg.Attribute("width", h.Width());
  svg.Attribute("height", h.Height());
  out += "><text";
  svg.Attribute("x", kTextIndent);
  svg.Attribute("y", kTextBaseline);
  out += '>';
  const bool isDrive = block.record->parent == nullptr;
  const CDynString name = labels.display.ForName(block.record->name, isDrive);
  AppendXmlText(QuoteName(TextOrEmpty(name)), out);
  out += "</text></svg>\n";
}

}  // namespace

void WriteMapSvg(const TreeMap& map, int width, int height, const MapSvgLabels& labels, const SvgSink& sink) {
  SvgText svg(sink);
  std::string& out = svg.Buffer();
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\"";
  svg.Attribute("width", width);
  svg.Attribute("height", height);
  out += " viewBox=\"0 0 " + std::to_string(width) + ' ' + std::to_string(height) + '"';
  svg.Attribute("font-size", kFontSize);
  out += " font-family=\"sans-serif\">\n";
  out += "<style>rect{stroke:#000;stroke-opacity:.3}text{pointer-events:none}</style>\n";
  labels.locale.BeginPass();
  std::string label;
  for (const MapBlock& block : map.Blocks()) {
    if (block.covered) continue;  // its blocks hide every pixel of it, and its title with it
    AppendRect(block, svg);
    AppendTitle(block, labels, label, out);
    out += "</rect>\n";
    if (block.HasHeader()) AppendHeaderName(block, labels, out, svg);
    svg.FlushWhenFull();
  }
  out += "</svg>\n";
}
