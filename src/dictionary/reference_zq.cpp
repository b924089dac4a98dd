// Bond lookups. A string lookup that finds nothing answers with the key, so
// that a caller showing the answer still shows what was asked for.
#include "dictionary/reference_lookup.h"
#include "orbe/dictionary/cw_file_util.h"

namespace {

using orbe::AnswerRows;
using orbe::ZQInfoIndex;

template <std::size_t N>
CString FirstOrKey(OrbeClientSession* session, const char* key, orbe::FirstRowIndex ZQInfoIndex::*index,
                   char (tagZQINFO::*field)[N]) {
  if (key == nullptr) return CString();
  if (*key == '\0') return key;
  const std::optional<std::string_view> found = orbe::FirstField(session, key, index, field);
  return found ? CString(*found) : CString(key);
}

}  // namespace

CString CwFileUtil::ZQ_GetZQAbbr(OrbeClientSession* session, const char* bondCode) {
  return FirstOrKey(session, bondCode, &ZQInfoIndex::by_bond_code, &tagZQINFO::BondAbbr);
}

CString CwFileUtil::ZQ_GetZQMainID(OrbeClientSession* session, const char* bondCode) {
  return FirstOrKey(session, bondCode, &ZQInfoIndex::by_bond_code, &tagZQINFO::MainID);
}

CString CwFileUtil::ZQ_GetZQType(OrbeClientSession* session, const char* bondCode) {
  return FirstOrKey(session, bondCode, &ZQInfoIndex::by_bond_code, &tagZQINFO::TypeName);
}

CString CwFileUtil::ZQ_GetZQTradMarket(OrbeClientSession* session, const char* bondCode) {
  return FirstOrKey(session, bondCode, &ZQInfoIndex::by_bond_code, &tagZQINFO::TradeMarket);
}

CString CwFileUtil::ZQ_GetZQIssueOrg(OrbeClientSession* session, const char* bondCode) {
  return FirstOrKey(session, bondCode, &ZQInfoIndex::by_bond_code, &tagZQINFO::IssueOrg);
}

CString CwFileUtil::ZQ_GetZQTypeByMainID(OrbeClientSession* session, const char* mainID) {
  return FirstOrKey(session, mainID, &ZQInfoIndex::by_main_id, &tagZQINFO::TypeName);
}

CString CwFileUtil::ZQ_GetZQIssueOrgByMainID(OrbeClientSession* session, const char* mainID) {
  return FirstOrKey(session, mainID, &ZQInfoIndex::by_main_id, &tagZQINFO::IssueOrg);
}

std::vector<std::string> CwFileUtil::ZQ_GetZQCode(OrbeClientSession* session, const char* mainID) {
  return orbe::SortedUnique(AnswerRows(session, mainID, &ZQInfoIndex::rows_by_main_id, &tagZQINFO::BondCode));
}

std::vector<std::string> CwFileUtil::ZQ_GetZQAbbrByMainID(OrbeClientSession* session, const char* mainID) {
  return orbe::SortedUnique(AnswerRows(session, mainID, &ZQInfoIndex::rows_by_main_id, &tagZQINFO::BondAbbr));
}

std::vector<std::string> CwFileUtil::ZQ_GetZQTradMarketByMainID(OrbeClientSession* session,
                                                                const char* mainID) {
  return orbe::SortedUnique(
      AnswerRows(session, mainID, &ZQInfoIndex::rows_by_main_id, &tagZQINFO::TradeMarket));
}

std::vector<std::string> CwFileUtil::ZQ_GetAllZQCodeByTypeName(OrbeClientSession* session,
                                                               const char* typeName) {
  return AnswerRows(session, typeName, &ZQInfoIndex::rows_by_type_name, &tagZQINFO::BondCode);
}

std::vector<std::string> CwFileUtil::ZQ_GetAllZQMainIDByTypeName(OrbeClientSession* session,
                                                                 const char* typeName) {
  return AnswerRows(session, typeName, &ZQInfoIndex::rows_by_type_name, &tagZQINFO::MainID);
}
