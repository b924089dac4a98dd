#include <array>

#include "dictionary/reference_loader_targets.h"

namespace orbe {
namespace {

constexpr int kSecuMainSet = 0;
constexpr int kListedCmpSet = 1;

// Reply order of set 0: inner code, security code, abbreviation, category,
// market, company code, pinyin initials.
constexpr std::array<FieldSlot, 7> kSecuMainSlots = {{
    {offsetof(tagSECUMAIN, InnerCode), sizeof(tagSECUMAIN::InnerCode)},
    {offsetof(tagSECUMAIN, SecuCode), sizeof(tagSECUMAIN::SecuCode)},
    {offsetof(tagSECUMAIN, SecuAbbr), sizeof(tagSECUMAIN::SecuAbbr)},
    {offsetof(tagSECUMAIN, SecuCategory), sizeof(tagSECUMAIN::SecuCategory)},
    {offsetof(tagSECUMAIN, SecuMarket), sizeof(tagSECUMAIN::SecuMarket)},
    {offsetof(tagSECUMAIN, CompanyCode), sizeof(tagSECUMAIN::CompanyCode)},
    {offsetof(tagSECUMAIN, ChiSpelling), sizeof(tagSECUMAIN::ChiSpelling)},
}};

// Reply order of set 1: security code, then the codes of 974, province, 997,
// 964, 996, 966. Classification 994 arrives in no field.
constexpr std::array<FieldSlot, 7> kListedCmpSlots = {{
    {offsetof(tagLISTEDCMP, SecuCode), sizeof(tagLISTEDCMP::SecuCode)},
    {offsetof(tagLISTEDCMP, Industry974), sizeof(tagLISTEDCMP::Industry974)},
    {offsetof(tagLISTEDCMP, Province), sizeof(tagLISTEDCMP::Province)},
    {offsetof(tagLISTEDCMP, Industry997), sizeof(tagLISTEDCMP::Industry997)},
    {offsetof(tagLISTEDCMP, Industry964), sizeof(tagLISTEDCMP::Industry964)},
    {offsetof(tagLISTEDCMP, Industry996), sizeof(tagLISTEDCMP::Industry996)},
    {offsetof(tagLISTEDCMP, Industry966), sizeof(tagLISTEDCMP::Industry966)},
}};

// Codes beginning "2" or "9" are B shares, which the company lookups leave out.
bool IsDroppedCompany(const std::string& code) { return !code.empty() && (code[0] == '2' || code[0] == '9'); }

}  // namespace

void MainTableTarget::Clear() {
  tables_.ClearSecuMain();
  tables_.ClearListedCmp();
}

void MainTableTarget::Store(int set, std::span<const std::string> fields) {
  if (set == kSecuMainSet) {
    tables_.AppendSecuMain(RecordFromFields<tagSECUMAIN>(kSecuMainSlots, fields));
  } else if (set == kListedCmpSet && !fields.empty() && !IsDroppedCompany(fields[0])) {
    tables_.AppendListedCmp(RecordFromFields<tagLISTEDCMP>(kListedCmpSlots, fields));
  }
}

}  // namespace orbe
