// The industry taxonomy behind the six industry classifications (constant
// classes 974, 997, 996, 994, 966, 964) and the Hong Kong industries (208).
// One base tree of sectors, industries and sub-industries is coded in each
// classification's own style, so lookups by prefix, by parent and by exact
// code all have something real to find.
#pragma once

#include <string>
#include <vector>

#include "dictionary/dictionary_writer.h"

namespace orbe::sample {

// A leaf of the base tree: sector, industry within it, sub-industry within that.
struct IndustryLeaf {
  int sector = 0;
  int industry = 0;
  int sub = 0;
};

// A two-character word that ends a company's short name, with its pinyin initials.
struct NameTail {
  const char* text;
  const char* initials;
};

inline constexpr const char* kIndustryClasses[] = {"974", "997", "996", "994", "966", "964"};

std::vector<IndustryLeaf> AllIndustryLeaves();
// The code a company on this leaf carries in one classification (the
// deepest level that classification has).
std::string IndustryCodeOf(const std::string& classification, const IndustryLeaf& leaf);
// The Hong Kong industry identifier (class 208) and its name.
std::string HkIndustryCodeOf(const IndustryLeaf& leaf);
std::string SubIndustryName(const IndustryLeaf& leaf);
std::string IndustryName(const IndustryLeaf& leaf);
// Typical gross margin of the leaf's industry, in [0, 1).
double GrossMarginOf(const IndustryLeaf& leaf);
bool IsFinancial(const IndustryLeaf& leaf);
const std::vector<NameTail>& NameTailsOf(const IndustryLeaf& leaf);

// Every constant of the six classifications and of class 208, in file order.
void AppendIndustryConstants(std::vector<SchemaConst>& constants);

}  // namespace orbe::sample
