// Arbitrary bytes as a host's answer to the board requests, read by every
// board reader. Input: byte 0 picks the announced size (0: the true size,
// else the true size scaled by byte 0 / 16) and byte 1 the reported fetch
// size the same way; the rest is the answer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "dictionary/host_board_reader.h"

namespace {

std::string_view g_answer;
int g_announced = 0;
int g_written = 0;

int Scaled(std::size_t size, std::uint8_t scale) {
  return scale == 0 ? static_cast<int>(size) : static_cast<int>(size * scale / 16);
}

int FuzzDataFunc(int* /*context*/, int /*minusOne*/, int /*code*/, void* buffer, short /*count*/,
                 HostValue7 /*first*/, HostValue7 /*second*/, int /*flag*/, int /*zero*/) {
  if (buffer == nullptr) return g_announced;
  // The buffer holds at least what was announced; a host writes no more.
  std::memcpy(buffer, g_answer.data(), std::min<std::size_t>(g_answer.size(), std::max(g_announced, 0)));
  return g_written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  g_answer = std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2);
  g_announced = Scaled(g_answer.size(), data[0]);
  g_written = Scaled(g_answer.size(), data[1]);
  orbe::ReadConceptBoardNames(FuzzDataFunc);
  orbe::ReadBoardCodes(FuzzDataFunc, orbe::kHostConceptBoards, "a", orbe::kBoardStockCodeLength);
  orbe::ReadBoardCodes(FuzzDataFunc, orbe::kHostQuoteBoards, "", 0);
  orbe::ReadAShareCodeList(FuzzDataFunc, orbe::kOwnCodeList);
  return 0;
}
