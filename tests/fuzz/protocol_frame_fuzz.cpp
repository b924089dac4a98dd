// The frame decoders on arbitrary streams, cut at arbitrary points, and the
// request body decoders on every frame found.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "protocol/frame_splitter.h"
#include "protocol/replies.h"
#include "protocol/requests.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the size of the pieces the stream arrives in.
  const std::size_t piece = 1 + data[0] % 64;
  const std::string_view stream(reinterpret_cast<const char*>(data + 1), size - 1);

  orbe::wire::RequestSplitter requests;
  orbe::wire::ReplySplitter replies;
  for (std::size_t at = 0; at < stream.size(); at += piece) {
    const std::string_view chunk = stream.substr(at, piece);
    requests.Append(chunk.data(), chunk.size());
    replies.Append(chunk.data(), chunk.size());
    orbe::wire::RequestFrame frame;
    while (requests.Next(&frame) == orbe::wire::SplitResult::kFrame) {
      if (frame.body.size() < 2 || frame.body.size() + 14 != frame.header.total_length) __builtin_trap();
      (void)orbe::wire::DecodeTableRequest(frame.body);
      if (const auto fetch = orbe::wire::DecodeFileFetchRequest(frame.body)) {
        if (fetch->name.empty() || fetch->name.size() > 255) __builtin_trap();
        (void)orbe::wire::IsPlainFileName(fetch->name);
      }
    }
    orbe::wire::ReplyPacket packet;
    while (replies.Next(&packet) == orbe::wire::SplitResult::kFrame) {
      if (const auto body = orbe::wire::PacketBody(packet)) {
        (void)orbe::wire::DecodeHostLoadBody(*body);
        (void)orbe::wire::DecodeTimeStampBody(*body);
      }
    }
  }
  return 0;
}
