#include "dictionary/host_board_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace orbe {
namespace {

// The layouts of host_records.h under the reader's names.
constexpr std::size_t kMaxBoards = kBoardSetMaxBoards;
constexpr std::size_t kBoardNameOffset = kBoardNamesOffset;
constexpr std::size_t kBoardNameWidth = kBoardNameSize;
constexpr std::size_t kBoardCountOffset = kBoardCountsOffset;
constexpr std::size_t kBoardCodeOffset = kBoardCodesOffset;
constexpr std::size_t kBoardCodeWidth = kBoardCodeSize;
constexpr std::size_t kCodeEntryWidth = sizeof(HostCodeListEntry);
constexpr std::size_t kCodeTextOffset = kCodeListTextOffset;
constexpr std::size_t kFetchSlack = kHostAnswerSlack;
// Far above the largest answer the layouts allow (100 boards of 32767 codes);
// an announcement beyond it is not an answer to allocate for.
constexpr int kMaxAnswerBytes = 64 << 20;

// Concept boards that are not concepts: an index list and the fund list.
constexpr std::array<std::string_view, 2> kNonConceptBoards = {
    "\xbe\xab\xd1\xa1\xd6\xb8\xca\xfd",  // "精选指数"
    "ETF\xbb\xf9\xbd\xf0",               // "ETF基金"
};

std::string_view TextAt(std::string_view bytes, std::size_t offset, std::size_t width) {
  const std::string_view field = bytes.substr(offset, width);
  return field.substr(0, field.find('\0'));
}

std::int16_t Int16At(std::string_view bytes, std::size_t offset) {
  std::uint16_t value = 0;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return static_cast<std::int16_t>(value);
}

// Market 0 is Shenzhen, market 1 Shanghai.
bool IsAShare(std::uint16_t market, std::string_view code) {
  if (market == kHostShenzhen) return code.starts_with('0') || (code.starts_with('3') && !code.starts_with("39"));
  if (market == kHostShanghai) return code.starts_with('6');
  return false;
}

}  // namespace

std::string FetchHostAnswer(DataFuncProc dataFunc, int code, unsigned char firstByte) {
  if (dataFunc == nullptr) return std::string();
  HostValue7 first{};
  first.bytes[0] = firstByte;
  const int size = dataFunc(nullptr, -1, code, nullptr, -1, first, HostValue7{}, 0, 0);
  if (size <= 0 || size > kMaxAnswerBytes) return std::string();
  std::string buffer(static_cast<std::size_t>(size) + kFetchSlack, '\0');
  const int written = dataFunc(nullptr, -1, code, buffer.data(), 1, first, HostValue7{}, 0, 0);
  if (written <= 0) return std::string();
  buffer.resize(std::min(buffer.size(), static_cast<std::size_t>(written)));
  return buffer;
}

std::vector<HostBoard> ParseBoardSet(std::string_view answer, std::size_t codeLength) {
  std::vector<HostBoard> boards;
  if (answer.empty()) return boards;
  const std::size_t announced = std::min<std::size_t>(static_cast<unsigned char>(answer[0]), kMaxBoards);
  const std::size_t entries =
      answer.size() > kBoardCodeOffset ? (answer.size() - kBoardCodeOffset) / kBoardCodeWidth : 0;
  std::size_t next_entry = 0;
  for (std::size_t i = 0; i < announced; ++i) {
    const std::size_t name_offset = kBoardNameOffset + kBoardNameWidth * i;
    if (name_offset + kBoardNameWidth > answer.size()) break;
    HostBoard board;
    board.name = TextAt(answer, name_offset, kBoardNameWidth);
    const std::size_t count_offset = kBoardCountOffset + 2 * i;
    const std::int16_t count = count_offset + 2 <= answer.size() ? Int16At(answer, count_offset) : 0;
    const std::size_t end = std::min(entries, next_entry + static_cast<std::size_t>(std::max<int>(count, 0)));
    for (; next_entry < end; ++next_entry) {
      std::string_view code =
          TextAt(answer, kBoardCodeOffset + kBoardCodeWidth * next_entry, kBoardCodeWidth);
      if (codeLength > 0) code = code.substr(0, codeLength);
      if (!code.empty()) board.codes.emplace_back(code);
    }
    boards.push_back(std::move(board));
  }
  return boards;
}

std::vector<std::string> ParseAShareCodeList(std::string_view answer) {
  std::vector<std::string> codes;
  const std::size_t count = std::min(answer.size() / kCodeEntryWidth, kMaxCodeListEntries);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t offset = kCodeEntryWidth * i;
    const auto market = static_cast<std::uint16_t>(Int16At(answer, offset));
    const std::string_view code = TextAt(answer, offset + kCodeTextOffset, kCodeEntryWidth - kCodeTextOffset);
    if (IsAShare(market, code)) codes.emplace_back(code);
  }
  return codes;
}

bool IsNonConceptBoard(std::string_view name) {
  return std::find(kNonConceptBoards.begin(), kNonConceptBoards.end(), name) != kNonConceptBoards.end();
}

std::vector<std::string> ReadConceptBoardNames(DataFuncProc dataFunc) {
  std::vector<std::string> names;
  for (HostBoard& board : ParseBoardSet(FetchHostAnswer(dataFunc, kHostConceptBoards, 0), 0)) {
    if (!IsNonConceptBoard(board.name)) names.push_back(std::move(board.name));
  }
  return names;
}

std::vector<std::string> ReadBoardCodes(DataFuncProc dataFunc, int code, std::string_view boardName,
                                        std::size_t codeLength) {
  for (HostBoard& board : ParseBoardSet(FetchHostAnswer(dataFunc, code, 0), codeLength)) {
    if (board.name == boardName) return std::move(board.codes);
  }
  return {};
}

std::vector<std::string> ReadAShareCodeList(DataFuncProc dataFunc, unsigned char listNumber) {
  return ParseAShareCodeList(FetchHostAnswer(dataFunc, kHostCodeList, listNumber));
}

}  // namespace orbe
