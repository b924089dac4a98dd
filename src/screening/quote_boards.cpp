// The host's quote boards (request 107) and the company codes behind them.
#include <cstring>
#include <set>
#include <vector>

#include "dictionary/host_board_reader.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/env.h"
#include "orbe/screening/headless_screening.h"

namespace orbe {

namespace {

constexpr int kCompanyBuffer = 11;

}  // namespace

std::vector<std::string> QuoteBoardCodes(const std::string& boardName) {
  return ReadBoardCodes(GetDataFunc(), kHostQuoteBoards, boardName, 0);
}

std::string BoardCompanyCodes(const std::vector<std::string>& boardNames) {
  OrbeClientSession* session = GetGlobalMainOrbeClientSession();
  std::set<std::string> companies;
  for (const std::string& board : boardNames) {
    for (const std::string& code : QuoteBoardCodes(board)) {
      char company[kCompanyBuffer] = {};
      CwFileUtil::GetCompanyCodeBySecuCode(session, company, sizeof company, code.c_str());
      if (company[0] != '\0') companies.emplace(company, strnlen(company, sizeof company));
    }
  }
  std::string joined;
  for (const std::string& company : companies) {
    if (!joined.empty()) joined += ',';
    joined += company;
  }
  return joined;
}

}  // namespace orbe
