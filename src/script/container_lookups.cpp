// The lookups of IContainerFun that are more than one CwFileUtil call, and
// the adapters the method table binds the others to.
#include "orbe/script/container_fun.h"

#include <vector>

#include "orbe/dictionary/cw_file_util.h"
#include "orbe/dictionary/dictionary_records.h"
#include "orbe/platform/text.h"
#include "script/lookup_bindings.h"

using namespace orbe;

namespace orbe::script {

std::string JoinList(const std::vector<std::string>& items) {
  std::string joined;
  for (const std::string& item : items) {
    if (!joined.empty()) joined += ',';
    joined += item;
  }
  return joined;
}

std::string RunBufferLookup(BufferLookup lookup, OrbeClientSession* session, const std::string& key) {
  char out[kLookupBufferSize] = {};
  lookup(session, out, sizeof out, key.c_str());
  return FieldText(out, sizeof out);
}

}  // namespace orbe::script

using script::JoinList;
using script::RunBufferLookup;

std::string IContainerFun::GetSecumainAbbr_HQ(const std::string& code, int kind) {
  // kind 0: the stock's abbreviation, 1: the fund's, any other: the stock's,
  // else the fund's (a code that is only a fund).
  if (kind == 1) return RunBufferLookup(&CwFileUtil::GetFundAbbrByCode, Session(), code);
  std::string abbr = RunBufferLookup(&CwFileUtil::GetSecuAbbrByCode, Session(), code);
  if (abbr.empty() && kind != 0) abbr = RunBufferLookup(&CwFileUtil::GetFundAbbrByCode, Session(), code);
  return abbr;
}

std::string IContainerFun::GetStockBlock(int classification, const std::string& industry, int with_sub) {
  OrbeClientSession* session = Session();
  const std::vector<std::string> companies =
      with_sub != 0 ? CwFileUtil::GetHyAndSubHyCmpCode(session, classification, industry.c_str())
                    : CwFileUtil::GetHyCmpCode(session, classification, industry.c_str());
  std::vector<std::string> codes;
  for (const std::string& company : companies) {
    std::string code = RunBufferLookup(&CwFileUtil::GetSecuCode, session, company);
    if (!code.empty()) codes.push_back(std::move(code));
  }
  return JoinList(codes);
}

std::string IContainerFun::GetConstList(const std::string& const_class) {
  std::vector<tagMemConstInfo> consts(kMaxConstsPerClass);
  const long count = CwFileUtil::GetConstList(Session(), const_class.c_str(), consts.data());
  std::vector<std::string> codes;
  for (long i = 0; i < count; ++i) codes.push_back(FieldText(consts[static_cast<std::size_t>(i)].code));
  return JoinList(codes);
}

std::string IContainerFun::GetConstName(const std::string& const_class, const std::string& code, int which) {
  const tagMemConstInfo constant = CwFileUtil::GetConst(Session(), const_class.c_str(), code.c_str());
  switch (which) {
    case 1: return FieldText(constant.parent_code);
    case 2: return FieldText(constant.attribute_code);
    default: return FieldText(constant.text);
  }
}

std::string IContainerFun::GetCmpCodeByHYAndSubHY(int classification, const std::string& industry) {
  return JoinList(CwFileUtil::GetHyAndSubHyCmpCode(Session(), classification, industry.c_str()));
}

std::string IContainerFun::GetSubHyCode(int classification, const std::string& parent) {
  std::vector<std::string> codes;
  CwFileUtil::GetSubHyCode(Session(), classification, parent.c_str(), codes);
  return JoinList(codes);
}

std::string IContainerFun::GetHyCode(int classification) {
  std::vector<std::string> codes;
  CwFileUtil::GetHyCode(Session(), classification, codes);
  return JoinList(codes);
}
