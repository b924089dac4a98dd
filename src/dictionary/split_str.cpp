#include "orbe/dictionary/cw_file_util.h"

std::vector<std::string> CwFileUtil::SplitStr(const CString& text, const CString& separator) {
  std::vector<std::string> pieces;
  if (separator.empty()) {
    if (!text.empty()) pieces.push_back(text);
    return pieces;
  }
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t found = text.find(separator, start);
    const std::size_t end = found == std::string::npos ? text.size() : found;
    if (end > start) pieces.push_back(text.substr(start, end - start));
    if (found == std::string::npos) break;
    start = found + separator.size();
  }
  return pieces;
}
