#include "reports/macro_text.h"

namespace orbe {

bool HasMacro(std::string_view text, std::string_view macro) {
  const std::size_t at = text.find(macro);
  return at != std::string_view::npos && at > 0;
}

void ReplaceEvery(std::string& text, std::string_view from, std::string_view to) {
  if (from.empty()) return;
  std::string out;
  std::size_t start = 0;
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, start)) {
    out.append(text, start, at - start).append(to);
    start = at + from.size();
  }
  if (start == 0) return;
  out.append(text, start, std::string::npos);
  text = std::move(out);
}

}  // namespace orbe
