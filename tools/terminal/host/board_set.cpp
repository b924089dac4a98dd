#include "host/board_set.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "orbe/host/host_records.h"
#include "orbe/platform/text.h"

namespace orbe {
namespace {

std::size_t CountOf(const HostBoard& board) { return std::min(board.codes.size(), kBoardMaxCodes); }

}  // namespace

std::string EncodeBoardSet(const std::vector<HostBoard>& boards) {
  const std::size_t count = std::min(boards.size(), kBoardSetMaxBoards);
  std::size_t codes = 0;
  for (std::size_t i = 0; i < count; ++i) codes += CountOf(boards[i]);
  std::string bytes(kBoardCodesOffset + kBoardCodeSize * codes, '\0');
  bytes[0] = static_cast<char>(count);
  std::size_t at = kBoardCodesOffset;
  for (std::size_t i = 0; i < count; ++i) {
    CopyBounded(&bytes[kBoardNamesOffset + kBoardNameSize * i], kBoardNameSize, boards[i].name);
    const auto n = static_cast<std::int16_t>(CountOf(boards[i]));
    std::memcpy(&bytes[kBoardCountsOffset + 2 * i], &n, sizeof n);
    for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k, at += kBoardCodeSize) {
      CopyBounded(&bytes[at], kBoardCodeSize, boards[i].codes[k]);
    }
  }
  return bytes;
}

std::vector<HostBoard> DecodeBoardSet(std::string_view bytes) {
  std::vector<HostBoard> boards;
  if (bytes.size() < kBoardCodesOffset) return boards;
  const std::size_t count = std::min<std::size_t>(static_cast<unsigned char>(bytes[0]), kBoardSetMaxBoards);
  std::size_t at = kBoardCodesOffset;
  for (std::size_t i = 0; i < count; ++i) {
    std::int16_t n = 0;
    std::memcpy(&n, bytes.data() + kBoardCountsOffset + 2 * i, sizeof n);
    if (n < 0 || at + kBoardCodeSize * static_cast<std::size_t>(n) > bytes.size()) break;
    HostBoard board{FieldText(bytes.data() + kBoardNamesOffset + kBoardNameSize * i, kBoardNameSize), {}};
    for (std::int16_t k = 0; k < n; ++k, at += kBoardCodeSize) {
      board.codes.push_back(FieldText(bytes.data() + at, kBoardCodeSize));
    }
    boards.push_back(std::move(board));
  }
  return boards;
}

}  // namespace orbe
