#include "tools/ambrell-scan/MapReport.h"

#include "map/TreeMap.h"
#include "platform/ReplacementFile.h"

bool SaveMapSvg(const std::string& path, const TreeView& tree, int width, int height,
                const MapSvgLabels& labels, std::string& error) {
  TreeMap map;
  map.Layout(tree, MapRequest{kNoItem, MapRect{0, 0, width, height}, kMapSvgLineHeight});
  ReplacementFile file;  // removes the temporary file unless committed, also on an exception
  if (!file.Open(path, error)) return false;
  WriteMapSvg(map, width, height, labels,
              [&file](const char* bytes, std::size_t length) { file.Write(bytes, length); });
  return file.Finish(error) && file.Commit(error);
}
