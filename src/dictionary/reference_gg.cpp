// Hong Kong stock lookups.
#include "dictionary/reference_lookup.h"
#include "orbe/dictionary/cw_file_util.h"

namespace {

using orbe::AnswerFirst;
using orbe::GGInfoIndex;

// Every row's field once, without empty texts when skipEmpty, in ascending
// byte order.
template <std::size_t N>
std::vector<std::string> UniqueSorted(OrbeClientSession* session, const char* key,
                                      orbe::RowListIndex GGInfoIndex::*index, char (tagGGINFO::*field)[N],
                                      bool skipEmpty) {
  std::vector<std::string> texts = orbe::AnswerRows(session, key, index, field);
  if (skipEmpty) std::erase(texts, std::string());
  return orbe::SortedUnique(std::move(texts));
}

}  // namespace

void CwFileUtil::GG_GetSecuCodeByCompCode(OrbeClientSession* session, char* out, int outLength,
                                          const char* compCode) {
  AnswerFirst(session, out, outLength, compCode, &GGInfoIndex::preferred_by_company_code,
              &tagGGINFO::SecuCode);
}

void CwFileUtil::GG_GetSecuAbbrByCompCode(OrbeClientSession* session, char* out, int outLength,
                                          const char* compCode) {
  AnswerFirst(session, out, outLength, compCode, &GGInfoIndex::preferred_by_company_code,
              &tagGGINFO::SecuAbbr);
}

void CwFileUtil::GG_GetSecuStateByCode(OrbeClientSession* session, char* out, int outLength,
                                       const char* secuCode) {
  AnswerFirst(session, out, outLength, secuCode, &GGInfoIndex::by_secu_code, &tagGGINFO::ListedState);
}

void CwFileUtil::GG_GetSecuAbbrBySecuCode(OrbeClientSession* session, char* out, int outLength,
                                          const char* secuCode) {
  AnswerFirst(session, out, outLength, secuCode, &GGInfoIndex::by_secu_code, &tagGGINFO::SecuAbbr);
}

void CwFileUtil::GG_GetCompCodeBySecuCode(OrbeClientSession* session, char* out, int outLength,
                                          const char* secuCode) {
  AnswerFirst(session, out, outLength, secuCode, &GGInfoIndex::by_secu_code, &tagGGINFO::CompanyCode);
}

void CwFileUtil::GG_GetBkNameByBkID(OrbeClientSession* session, char* out, int outLength, const char* bkID) {
  AnswerFirst(session, out, outLength, bkID, &GGInfoIndex::by_board_id, &tagGGINFO::BkName);
}

void CwFileUtil::GG_GetHyIDBySecuCode(OrbeClientSession* session, char* out, int outLength,
                                      const char* secuCode) {
  AnswerFirst(session, out, outLength, secuCode, &GGInfoIndex::by_secu_code, &tagGGINFO::HyID);
}

void CwFileUtil::GG_GetHyIDByCompCode(OrbeClientSession* session, char* out, int outLength,
                                      const char* compCode) {
  AnswerFirst(session, out, outLength, compCode, &GGInfoIndex::by_company_code, &tagGGINFO::HyID);
}

void CwFileUtil::GG_GetHyNameByHyCode(OrbeClientSession* session, char* out, int outLength,
                                      const char* hyID) {
  AnswerFirst(session, out, outLength, hyID, &GGInfoIndex::by_industry_id, &tagGGINFO::HyName);
}

std::vector<std::string> CwFileUtil::GG_GetBkIDBySecuCode(OrbeClientSession* session, const char* secuCode) {
  return UniqueSorted(session, secuCode, &GGInfoIndex::rows_by_secu_code, &tagGGINFO::BkID, true);
}

std::vector<std::string> CwFileUtil::GG_GetBkSecuCodeByBkID(OrbeClientSession* session, const char* bkID) {
  return UniqueSorted(session, bkID, &GGInfoIndex::rows_by_board_id, &tagGGINFO::SecuCode, false);
}

std::vector<std::string> CwFileUtil::GG_GetHySecuCodeByHyID(OrbeClientSession* session, const char* hyID) {
  return UniqueSorted(session, hyID, &GGInfoIndex::rows_by_industry_id, &tagGGINFO::SecuCode, false);
}
