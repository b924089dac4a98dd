// Security master lookups and the whole-table copies.
#include <algorithm>

#include "dictionary/reference_lookup.h"
#include "orbe/dictionary/cw_file_util.h"

namespace orbe {

std::vector<std::string> SortedUnique(std::vector<std::string> texts) {
  std::sort(texts.begin(), texts.end());
  texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
  return texts;
}

}  // namespace orbe

namespace {

using orbe::SecuMainIndex;

template <typename Row>
std::vector<Row> CopyOf(OrbeClientSession* session,
                        const std::vector<Row>& (orbe::ReferenceTables::*table)() const) {
  const orbe::ReferenceTables* tables = orbe::TablesOf(session);
  return tables == nullptr ? std::vector<Row>() : (tables->*table)();
}

}  // namespace

std::vector<tagSECUMAIN> CwFileUtil::GetAllSecuMain(OrbeClientSession* session) {
  return CopyOf(session, &orbe::ReferenceTables::SecuMain);
}
std::vector<tagLISTEDCMP> CwFileUtil::GetAlllistedCmp(OrbeClientSession* session) {
  return CopyOf(session, &orbe::ReferenceTables::ListedCmp);
}
std::vector<tagGGINFO> CwFileUtil::GetAllGGInfo(OrbeClientSession* session) {
  return CopyOf(session, &orbe::ReferenceTables::GGInfo);
}
std::vector<tagJJINFO> CwFileUtil::GetAllJJInfo(OrbeClientSession* session) {
  return CopyOf(session, &orbe::ReferenceTables::JJInfo);
}
std::vector<tagZQINFO> CwFileUtil::GetAllZQInfo(OrbeClientSession* session) {
  return CopyOf(session, &orbe::ReferenceTables::ZQInfo);
}
std::vector<tagQHINFO> CwFileUtil::GetAllQHInfo(OrbeClientSession* session) {
  return CopyOf(session, &orbe::ReferenceTables::QHInfo);
}

void CwFileUtil::GetSecuCode(OrbeClientSession* session, char* out, int outLength, const char* companyCode) {
  orbe::AnswerFirst(session, out, outLength, companyCode, &SecuMainIndex::by_company_code,
                    &tagSECUMAIN::SecuCode);
}

void CwFileUtil::GetSecuAbbr(OrbeClientSession* session, char* out, int outLength, const char* companyCode) {
  orbe::AnswerFirst(session, out, outLength, companyCode, &SecuMainIndex::by_company_code,
                    &tagSECUMAIN::SecuAbbr);
}

void CwFileUtil::GetSecuAbbrByCode(OrbeClientSession* session, char* out, int outLength,
                                   const char* secuCode) {
  orbe::AnswerFirst(session, out, outLength, secuCode, &SecuMainIndex::stock_by_secu_code,
                    &tagSECUMAIN::SecuAbbr);
}

void CwFileUtil::GetFundAbbrByCode(OrbeClientSession* session, char* out, int outLength,
                                   const char* secuCode) {
  orbe::AnswerFirst(session, out, outLength, secuCode, &SecuMainIndex::fund_by_secu_code,
                    &tagSECUMAIN::SecuAbbr);
}

void CwFileUtil::GetCompanyCodeBySecuCode(OrbeClientSession* session, char* out, int outLength,
                                          const char* secuCode) {
  orbe::AnswerFirst(session, out, outLength, secuCode, &SecuMainIndex::stock_by_secu_code,
                    &tagSECUMAIN::CompanyCode);
}

void CwFileUtil::GetSecuMainCodeBySecuCode(OrbeClientSession* session, char* out, int outLength,
                                           const char* secuCode) {
  GetCompanyCodeBySecuCode(session, out, outLength, secuCode);
}

void CwFileUtil::GetInnerCodeBySecuCode(OrbeClientSession* session, char* out, int outLength,
                                        const char* secuCode) {
  orbe::AnswerFirst(session, out, outLength, secuCode, &SecuMainIndex::stock_by_secu_code,
                    &tagSECUMAIN::InnerCode);
}

void CwFileUtil::GetCompanyCodeByInnerCode(OrbeClientSession* session, char* out, int outLength,
                                           const char* innerCode) {
  orbe::AnswerFirst(session, out, outLength, innerCode, &SecuMainIndex::by_inner_code,
                    &tagSECUMAIN::CompanyCode);
}

void CwFileUtil::GetSecuCategoryByInnercode(OrbeClientSession* session, char* out, int outLength,
                                            const char* innerCode) {
  orbe::AnswerFirst(session, out, outLength, innerCode, &SecuMainIndex::by_inner_code,
                    &tagSECUMAIN::SecuCategory);
}
