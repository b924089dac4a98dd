// CwFileUtil's host boards: the readers of host_board_reader.h against the
// data function the host registered.
#include "dictionary/host_board_reader.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/env.h"

namespace {

constexpr const char* kConditionBoardName = "\xcc\xf5\xbc\xfe\xb9\xc9";  // "条件股"

}  // namespace

std::vector<std::string> CwFileUtil::GetConceptBoard() { return orbe::ReadConceptBoardNames(GetDataFunc()); }

std::vector<std::string> CwFileUtil::GetZXGBoard() {
  return orbe::ReadAShareCodeList(GetDataFunc(), orbe::kOwnCodeList);
}

std::vector<std::string> CwFileUtil::GetCCGBoard() {
  return orbe::ReadAShareCodeList(GetDataFunc(), orbe::kHoldingsCodeList);
}

std::vector<std::string> CwFileUtil::GetTJGBoard() {
  return orbe::ReadBoardCodes(GetDataFunc(), orbe::kHostQuoteBoards, kConditionBoardName, 0);
}

std::vector<std::string> CwFileUtil::GetZDYBoard(const char* boardName) {
  if (boardName == nullptr) return {};
  return orbe::ReadBoardCodes(GetDataFunc(), orbe::kHostCustomBoards, boardName, orbe::kBoardStockCodeLength);
}

std::vector<std::string> CwFileUtil::GetConceptContentStock(const char* boardName) {
  if (boardName == nullptr) return {};
  return orbe::ReadBoardCodes(GetDataFunc(), orbe::kHostConceptBoards, boardName,
                              orbe::kBoardStockCodeLength);
}
