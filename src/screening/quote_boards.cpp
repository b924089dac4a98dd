// The host's quote boards (request 107) and the company codes behind them.
#include <cstring>

#include "dictionary/host_board_reader.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/env.h"
#include "orbe/screening/headless_screening.h"
#include "screening/board_codes.h"

namespace orbe {

namespace {

constexpr int kCompanyBuffer = 11;

}  // namespace

void AddCompaniesOfSecurities(OrbeClientSession* session, const std::vector<std::string>& secuCodes,
                              std::set<std::string>& companies) {
  for (const std::string& code : secuCodes) {
    char company[kCompanyBuffer] = {};
    CwFileUtil::GetCompanyCodeBySecuCode(session, company, sizeof company, code.c_str());
    if (company[0] != '\0') companies.emplace(company, strnlen(company, sizeof company));
  }
}

std::string JoinCodeSet(const std::set<std::string>& codes) {
  std::string joined;
  for (const std::string& code : codes) {
    if (!joined.empty()) joined += ',';
    joined += code;
  }
  return joined;
}

std::vector<std::string> QuoteBoardCodes(const std::string& boardName) {
  return ReadBoardCodes(GetDataFunc(), kHostQuoteBoards, boardName, 0);
}

std::string BoardCompanyCodes(const std::vector<std::string>& boardNames) {
  std::set<std::string> companies;
  for (const std::string& board : boardNames) {
    AddCompaniesOfSecurities(GetGlobalMainOrbeClientSession(), QuoteBoardCodes(board), companies);
  }
  return JoinCodeSet(companies);
}

}  // namespace orbe
