#include "procedure_result_writer.h"

#include "orbe/platform/text.h"

namespace orbe::server {

void ResultWriter::FixedText(std::string_view text, std::size_t width) {
  const std::size_t start = bytes_.size();
  // CopyBounded keeps room for a terminator, which a full-width field does not need.
  bytes_.resize(start + width + 1, '\0');
  CopyBounded(bytes_.data() + start, width + 1, text);
  bytes_.resize(start + width);
}

}  // namespace orbe::server
