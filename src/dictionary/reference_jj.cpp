// Fund lookups.
#include "dictionary/reference_lookup.h"
#include "orbe/dictionary/cw_dictionary.h"
#include "orbe/dictionary/cw_file_util.h"

namespace {

using orbe::AnswerFirst;
using orbe::AnswerRows;
using orbe::JJInfoIndex;

constexpr const char* kFundCategoryClass = "998";

// The text of the first constant of any class with this code.
void AnswerConstOfAnyClass(OrbeClientSession* session, char* out, int outLength, const char* code) {
  if (!orbe::ClearOut(out, outLength) || session == nullptr || orbe::IsEmptyKey(code)) return;
  const std::string_view wanted(code);
  // The dictionary indexes constants by class; a code alone is looked up
  // seldom enough (one fund at a time) that a scan is the simpler answer.
  for (const orbe::ConstFileRecord& record : session->Dictionary().Constants()) {
    if (orbe::TextOf(record.code) == wanted) {
      orbe::CopyOut(out, outLength, orbe::TextOf(record.text));
      return;
    }
  }
}

}  // namespace

void CwFileUtil::JJ_GetJJAbbr(OrbeClientSession* session, char* out, int outLength, const char* fundCode) {
  AnswerFirst(session, out, outLength, fundCode, &JJInfoIndex::by_fund_code, &tagJJINFO::FundAbbr);
}

void CwFileUtil::JJ_GetJJCategoryCode(OrbeClientSession* session, char* out, int outLength,
                                      const char* fundCode) {
  AnswerFirst(session, out, outLength, fundCode, &JJInfoIndex::by_fund_code, &tagJJINFO::CategoryCode);
}

void CwFileUtil::JJ_GetJJInvestTypeCode(OrbeClientSession* session, char* out, int outLength,
                                        const char* fundCode) {
  AnswerFirst(session, out, outLength, fundCode, &JJInfoIndex::by_fund_code, &tagJJINFO::InvestTypeCode);
}

void CwFileUtil::JJ_GetJJInvestStyleCode(OrbeClientSession* session, char* out, int outLength,
                                         const char* fundCode) {
  AnswerFirst(session, out, outLength, fundCode, &JJInfoIndex::by_fund_code, &tagJJINFO::InvestStyleCode);
}

void CwFileUtil::JJ_IsRestructureJJ(OrbeClientSession* session, char* out, int outLength,
                                    const char* fundCode) {
  AnswerFirst(session, out, outLength, fundCode, &JJInfoIndex::by_fund_code, &tagJJINFO::RestructureFlag);
}

void CwFileUtil::JJ_GetJJCategoryAbbr(OrbeClientSession* session, char* out, int outLength,
                                      const char* code) {
  if (!orbe::ClearOut(out, outLength) || session == nullptr || orbe::IsEmptyKey(code)) return;
  const orbe::ConstFileRecord* record = session->Dictionary().FindConst(kFundCategoryClass, code);
  if (record != nullptr) orbe::CopyOut(out, outLength, orbe::TextOf(record->text));
}

void CwFileUtil::JJ_GetJJInvestTypeAbbr(OrbeClientSession* session, char* out, int outLength,
                                        const char* code) {
  AnswerConstOfAnyClass(session, out, outLength, code);
}

void CwFileUtil::JJ_GetJJInvestStyleAbbr(OrbeClientSession* session, char* out, int outLength,
                                         const char* code) {
  AnswerConstOfAnyClass(session, out, outLength, code);
}

std::vector<std::string> CwFileUtil::JJ_GetJJCodeByCategory(OrbeClientSession* session,
                                                            const char* category) {
  return AnswerRows(session, category, &JJInfoIndex::rows_by_category, &tagJJINFO::FundCode);
}

std::vector<std::string> CwFileUtil::JJ_GetJJCodeByInvestType(OrbeClientSession* session,
                                                              const char* investType) {
  return AnswerRows(session, investType, &JJInfoIndex::rows_by_invest_type, &tagJJINFO::FundCode);
}

std::vector<std::string> CwFileUtil::JJ_GetJJCodeByInvestStyle(OrbeClientSession* session,
                                                               const char* investStyle) {
  return AnswerRows(session, investStyle, &JJInfoIndex::rows_by_invest_style, &tagJJINFO::FundCode);
}

std::vector<std::string> CwFileUtil::JJ_GetRestructureJJCode(OrbeClientSession* session, const char* flag) {
  return AnswerRows(session, flag, &JJInfoIndex::rows_by_restructure_flag, &tagJJINFO::FundCode);
}
