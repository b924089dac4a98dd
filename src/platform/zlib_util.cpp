#include <zlib.h>

#include <algorithm>
#include <climits>

#include "orbe/platform/crypto.h"

namespace orbe {

namespace {

// zlib counts in uInt; larger buffers are fed in slices of this size.
constexpr std::size_t kMaxSlice = UINT_MAX;
// Output grows in steps instead of trusting max_size up front: a caller's
// bound is a ceiling, not a promise about how big the stream really is.
constexpr std::size_t kFirstOutputSize = 4096;

class Inflater {
 public:
  Inflater() { ready_ = inflateInit(&stream_) == Z_OK; }
  ~Inflater() {
    if (ready_) inflateEnd(&stream_);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  bool ready() const { return ready_; }
  z_stream& stream() { return stream_; }

 private:
  z_stream stream_{};
  bool ready_ = false;
};

uInt SliceOf(std::size_t size) { return static_cast<uInt>(std::min(size, kMaxSlice)); }

}  // namespace

std::string Compress(std::string_view bytes, int level) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  std::string stream(size, '\0');
  const int result = compress2(reinterpret_cast<Bytef*>(stream.data()), &size,
                               reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uLong>(bytes.size()),
                               level);
  if (result != Z_OK) return std::string();
  stream.resize(size);
  return stream;
}

std::optional<std::string> Uncompress(std::string_view stream, std::size_t max_size) {
  Inflater inflater;
  if (!inflater.ready()) return std::nullopt;
  z_stream& z = inflater.stream();
  // One byte beyond the bound tells "exactly max_size" from "more than that".
  const std::size_t limit = max_size == SIZE_MAX ? max_size : max_size + 1;
  std::string out;
  std::size_t produced = 0;
  std::size_t consumed = 0;
  for (;;) {
    if (produced == out.size()) {
      if (out.size() == limit) return std::nullopt;
      out.resize(std::min(limit, std::max(kFirstOutputSize, out.size() * 2)));
    }
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data() + consumed));
    z.avail_in = SliceOf(stream.size() - consumed);
    z.next_out = reinterpret_cast<Bytef*>(out.data() + produced);
    z.avail_out = SliceOf(out.size() - produced);
    const uInt in_before = z.avail_in;
    const uInt out_before = z.avail_out;
    const int result = inflate(&z, Z_NO_FLUSH);
    consumed += in_before - z.avail_in;
    produced += out_before - z.avail_out;
    if (result == Z_STREAM_END) break;
    const bool truncated = result == Z_BUF_ERROR && consumed == stream.size() && z.avail_out != 0;
    if (truncated) return std::nullopt;
    if (result != Z_OK && result != Z_BUF_ERROR) return std::nullopt;
  }
  if (produced > max_size || consumed != stream.size()) return std::nullopt;
  out.resize(produced);
  return out;
}

}  // namespace orbe
