#include "indicators/index_files.h"
#include "orbe/platform/text.h"

namespace orbe {

bool ReadSysIndexFile(const std::string& path, IndexSink& sink) {
  if (path.size() < 5) return false;
  const std::string_view ending = std::string_view(path).substr(path.size() - 4);
  if (EqualsIgnoreAsciiCase(ending, ".ini")) return ReadSysIndexIni(path, sink);
  if (EqualsIgnoreAsciiCase(ending, ".xml")) return ReadSysIndexXml(path, sink);
  return false;
}

}  // namespace orbe
