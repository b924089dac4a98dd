// Industry lookups: industry trees from the constant file, companies from
// the listed-company table.
#include <algorithm>
#include <unordered_set>

#include "dictionary/reference_lookup.h"
#include "orbe/dictionary/cw_dictionary.h"
#include "orbe/dictionary/cw_file_util.h"

namespace {

using orbe::ConstFileRecord;

// One classification's constants with their children by parent code, in
// file order. Built per call: the dictionary may be reloaded between calls.
class IndustryTree {
 public:
  IndustryTree(const orbe::CwDictionary& dictionary, int classification)
      : constants_(dictionary.Constants()),
        members_(dictionary.FindConstClass(orbe::Format("%d", classification))) {
    if (members_ == nullptr) return;
    for (const std::int32_t member : *members_) {
      children_[std::string(orbe::TextOf(constants_[member].parent_code))].push_back(member);
    }
  }

  // Codes of the class in file order.
  std::vector<std::string> Codes() const {
    std::vector<std::string> codes;
    if (members_ == nullptr) return codes;
    for (const std::int32_t member : *members_) codes.emplace_back(orbe::TextOf(constants_[member].code));
    return codes;
  }

  // Appends the descendants of parent depth first, pre-order. A code already
  // on the path from parent is not entered again: a cycle in the file would
  // otherwise never end. Iterative, so a long chain cannot exhaust the stack.
  void AppendDescendants(const std::string& parent, std::vector<std::string>& out) const {
    struct Frame {
      std::string code;
      const std::vector<std::int32_t>* children;
      std::size_t next;
    };
    std::unordered_set<std::string> on_path = {parent};
    std::vector<Frame> stack = {{parent, ChildrenOf(parent), 0}};
    while (!stack.empty()) {
      Frame& top = stack.back();
      if (top.children == nullptr || top.next >= top.children->size()) {
        on_path.erase(top.code);
        stack.pop_back();
        continue;
      }
      std::string code(orbe::TextOf(constants_[(*top.children)[top.next++]].code));
      if (!on_path.insert(code).second) continue;
      out.push_back(code);
      const std::vector<std::int32_t>* children = ChildrenOf(code);
      stack.push_back({std::move(code), children, 0});
    }
  }

 private:
  const std::vector<std::int32_t>* ChildrenOf(const std::string& code) const {
    const auto found = children_.find(code);
    return found == children_.end() ? nullptr : &found->second;
  }

  std::span<const ConstFileRecord> constants_;
  const std::vector<std::int32_t>* members_;
  std::unordered_map<std::string, std::vector<std::int32_t>> children_;
};

const orbe::Classification* FindClassification(int number) {
  for (const orbe::Classification& classification : orbe::kClassifications) {
    if (classification.number == number) return &classification;
  }
  return nullptr;
}

std::size_t PositionOf(const orbe::Classification& classification) {
  return static_cast<std::size_t>(&classification - orbe::kClassifications.data());
}

// Company codes of listed-company rows, in the order given. A company whose
// security code has no stock row in the security master has no code to give
// and is left out rather than listed as an empty code.
std::vector<std::string> CompanyCodesOf(OrbeClientSession* session, const std::vector<std::int32_t>& rows) {
  std::vector<std::string> codes;
  const std::vector<tagLISTEDCMP>& listed = session->References().ListedCmp();
  char company[12];
  for (const std::int32_t row : rows) {
    const std::string secu_code(orbe::TextOf(listed[row].SecuCode));
    CwFileUtil::GetCompanyCodeBySecuCode(session, company, sizeof company, secu_code.c_str());
    if (company[0] != '\0') codes.emplace_back(company);
  }
  return codes;
}

// Rows whose industry code contains part, in table order.
std::vector<std::int32_t> RowsContaining(const orbe::RowListIndex& by_industry, std::string_view part) {
  std::vector<std::int32_t> rows;
  for (const auto& [code, code_rows] : by_industry) {
    if (code.find(part) != std::string::npos) rows.insert(rows.end(), code_rows.begin(), code_rows.end());
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

}  // namespace

void CwFileUtil::GetHyCode(OrbeClientSession* session, int classification, std::vector<std::string>& out) {
  if (session == nullptr) return;
  const IndustryTree tree(session->Dictionary(), classification);
  for (const std::string& code : tree.Codes()) {
    out.push_back(code);
    tree.AppendDescendants(code, out);
  }
}

void CwFileUtil::GetSubHyCode(OrbeClientSession* session, int classification, const char* parentCode,
                              std::vector<std::string>& out) {
  if (session == nullptr || parentCode == nullptr) return;
  IndustryTree(session->Dictionary(), classification).AppendDescendants(parentCode, out);
}

std::vector<std::string> CwFileUtil::GetHyCmpCode(OrbeClientSession* session, int classification,
                                                  const char* industryCode) {
  const orbe::Classification* found = FindClassification(classification);
  if (session == nullptr || found == nullptr || orbe::IsEmptyKey(industryCode)) return {};
  const orbe::RowListIndex& by_industry =
      session->References().Index().listed_cmp.by_industry[PositionOf(*found)];
  const std::vector<std::int32_t>* rows = orbe::FindRows(by_industry, industryCode);
  return rows == nullptr ? std::vector<std::string>() : CompanyCodesOf(session, *rows);
}

std::vector<std::string> CwFileUtil::GetHyAndSubHyCmpCode(OrbeClientSession* session, int classification,
                                                          const char* industryCode) {
  const orbe::Classification* found = FindClassification(classification);
  if (session == nullptr || found == nullptr || orbe::IsEmptyKey(industryCode)) return {};
  switch (found->sub_industries) {
    case orbe::SubIndustryRule::kExact:
      return GetHyCmpCode(session, classification, industryCode);
    case orbe::SubIndustryRule::kSubstring: {
      const orbe::RowListIndex& by_industry =
          session->References().Index().listed_cmp.by_industry[PositionOf(*found)];
      return CompanyCodesOf(session, RowsContaining(by_industry, industryCode));
    }
    case orbe::SubIndustryRule::kDescendants: {
      std::vector<std::string> industries = {industryCode};
      GetSubHyCode(session, classification, industryCode, industries);
      std::vector<std::string> codes;
      for (const std::string& industry : industries) {
        const std::vector<std::string> part = GetHyCmpCode(session, classification, industry.c_str());
        codes.insert(codes.end(), part.begin(), part.end());
      }
      return codes;
    }
  }
  return {};
}
