// Reference records a session holds in memory: the security master, listed
// companies and the Hong Kong stock, fund, bond and futures tables. Text
// fields are GBK, NUL-terminated, each width counting its NUL.
#ifndef ORBE_DICTIONARY_REFERENCE_RECORDS_H_
#define ORBE_DICTIONARY_REFERENCE_RECORDS_H_

#include <cstddef>

#pragma pack(push, 1)

struct tagSECUMAIN {
  char InnerCode[12];
  char CompanyCode[12];
  char SecuCode[11];
  char SecuAbbr[41];
  char SecuCategory[13];  // "8" and "13" are funds
  char SecuMarket[13];
  char ChiSpelling[12];
};
static_assert(sizeof(tagSECUMAIN) == 114);
static_assert(offsetof(tagSECUMAIN, SecuCode) == 24);
static_assert(offsetof(tagSECUMAIN, SecuAbbr) == 35);
static_assert(offsetof(tagSECUMAIN, SecuCategory) == 76);
static_assert(offsetof(tagSECUMAIN, SecuMarket) == 89);
static_assert(offsetof(tagSECUMAIN, ChiSpelling) == 102);

struct tagLISTEDCMP {
  char SecuCode[11];
  char Unread11[41];
  char Industry974[13];
  char Industry997[13];
  char Industry996[13];
  char Industry994[13];
  char Industry966[13];
  char Province[13];
  char Industry964[13];
  char Unread143[13];
};
static_assert(sizeof(tagLISTEDCMP) == 156);
static_assert(offsetof(tagLISTEDCMP, Industry974) == 52);
static_assert(offsetof(tagLISTEDCMP, Industry997) == 65);
static_assert(offsetof(tagLISTEDCMP, Industry996) == 78);
static_assert(offsetof(tagLISTEDCMP, Industry994) == 91);
static_assert(offsetof(tagLISTEDCMP, Industry966) == 104);
static_assert(offsetof(tagLISTEDCMP, Province) == 117);
static_assert(offsetof(tagLISTEDCMP, Industry964) == 130);

struct tagGGINFO {
  char SecuCode[11];
  char CompanyCode[12];
  char SecuAbbr[41];
  char ListedState[11];  // "1", "2", "3" or empty
  char BkID[11];
  char BkName[41];
  char HyID[11];
  char HyName[41];
};
static_assert(sizeof(tagGGINFO) == 179);
static_assert(offsetof(tagGGINFO, CompanyCode) == 11);
static_assert(offsetof(tagGGINFO, SecuAbbr) == 23);
static_assert(offsetof(tagGGINFO, ListedState) == 64);
static_assert(offsetof(tagGGINFO, BkID) == 75);
static_assert(offsetof(tagGGINFO, BkName) == 86);
static_assert(offsetof(tagGGINFO, HyID) == 127);
static_assert(offsetof(tagGGINFO, HyName) == 138);

struct tagJJINFO {
  char FundCode[11];
  char FundAbbr[41];
  char RestructureFlag[11];
  char CategoryCode[11];  // constant class "998"
  char InvestTypeCode[11];
  char InvestStyleCode[11];
};
static_assert(sizeof(tagJJINFO) == 96);
static_assert(offsetof(tagJJINFO, RestructureFlag) == 52);
static_assert(offsetof(tagJJINFO, CategoryCode) == 63);
static_assert(offsetof(tagJJINFO, InvestTypeCode) == 74);
static_assert(offsetof(tagJJINFO, InvestStyleCode) == 85);

struct tagZQINFO {
  char MainID[13];  // shared by the codes of one bond issue
  char BondCode[11];
  char BondAbbr[52];
  char TypeName[41];
  char TradeMarket[41];
  char IssueOrg[63];
};
static_assert(sizeof(tagZQINFO) == 221);
static_assert(offsetof(tagZQINFO, BondCode) == 13);
static_assert(offsetof(tagZQINFO, BondAbbr) == 24);
static_assert(offsetof(tagZQINFO, TypeName) == 76);
static_assert(offsetof(tagZQINFO, TradeMarket) == 117);
static_assert(offsetof(tagZQINFO, IssueOrg) == 158);

struct tagQHINFO {
  char ContractCode[11];
  char ExchangeCode[11];  // "CZ", "QS", "QD", "QZ" and others
  char ExchangeName[41];
  char VarietyCode[11];
  char VarietyName[41];
  char MonthSuffix[11];
  char Unread126[30];
};
static_assert(sizeof(tagQHINFO) == 156);
static_assert(offsetof(tagQHINFO, ExchangeCode) == 11);
static_assert(offsetof(tagQHINFO, VarietyCode) == 63);
static_assert(offsetof(tagQHINFO, VarietyName) == 74);
static_assert(offsetof(tagQHINFO, MonthSuffix) == 115);

#pragma pack(pop)

#endif  // ORBE_DICTIONARY_REFERENCE_RECORDS_H_
