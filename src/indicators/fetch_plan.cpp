// Scheme rows into base indicators, base indicators into request groups, and
// the code list into chunks.
#include "indicators/fetch_plan.h"

#include <functional>
#include <tuple>

#include "indicators/fetch_terms.h"

namespace orbe {

namespace {

constexpr int kDefaultDecimals = 2;

// Statements are shared by table, key, extra condition and parameter text.
using GroupKey = std::tuple<std::string, std::string, std::string, std::string>;

void NumberBases(FetchPlan& plan) {
  std::map<GroupKey, std::size_t> groupOfKey;
  for (std::size_t e = 0; e < plan.entities.size(); ++e) {
    const EntityParam& entity = plan.entities[e];
    for (std::size_t b = 0; b < entity.bases.size(); ++b) {
      const int seq = static_cast<int>(plan.bases.size());
      IndexBase* index = entity.bases[b];
      plan.bases.push_back({index, entity.params[b], static_cast<int>(e)});
      if (const auto* sys = dynamic_cast<const SysIndex*>(index)) {
        const GroupKey key(sys->tablename, sys->key, sys->condition, entity.params[b]);
        const auto [at, added] = groupOfKey.emplace(key, plan.groups.size());
        if (added) plan.groups.emplace_back();
        plan.groups[at->second].push_back(seq);
      } else if (dynamic_cast<const SysIndexTQL*>(index) != nullptr) {
        plan.tqls.push_back(seq);
      }
    }
  }
}

std::string ConvertCodes(const std::string& codes, const std::function<std::string(const std::string&)>& convert) {
  std::vector<std::string> out;
  for (const std::string& code : SplitList(codes, ',')) {
    if (code.empty()) continue;
    std::string converted = convert(code);
    if (!converted.empty()) out.push_back(std::move(converted));
  }
  return JoinList(out, ',');
}

}  // namespace

bool ResolveScheme(IIndexMgr* mgr, const IndexScheme& scheme, std::vector<EntityParam>& out) {
  out.clear();
  if (mgr == nullptr) return false;
  for (std::size_t i = 0; i < scheme.items.size(); ++i) {
    const IndexSchemeItem& row = scheme.items[i];
    IndexBase* index = mgr->FindIndex(row.index);
    if (index == nullptr) {
      out.clear();
      return false;
    }
    EntityParam entity;
    entity.itemno = static_cast<std::int32_t>(i + 1);
    entity.index = index;
    entity.op = row.op;
    entity.value = row.value;
    entity.unit = row.unit;
    if (auto* usr = dynamic_cast<UsrIndex*>(index)) {
      entity.params = SplitList(row.param, ';');
      mgr->GetBaseIndexes(usr, entity.bases);
    } else {
      entity.params = {row.param};
      entity.bases = {index};
    }
    if (entity.params.size() == entity.bases.size()) out.push_back(std::move(entity));
  }
  return true;
}

IndexBase* BaseOfSequence(const std::vector<EntityParam>& entities, int seq, int& entity, int& base) {
  if (seq < 0) return nullptr;
  int remaining = seq;
  for (std::size_t e = 0; e < entities.size(); ++e) {
    const int count = static_cast<int>(entities[e].bases.size());
    if (remaining < count) {
      entity = static_cast<int>(e);
      base = remaining;
      return entities[e].bases[static_cast<std::size_t>(remaining)];
    }
    remaining -= count;
  }
  return nullptr;
}

std::optional<FetchPlan> MakeFetchPlan(IIndexMgr* mgr, const IndexScheme& scheme, const std::string& codes) {
  FetchPlan plan;
  if (!ResolveScheme(mgr, scheme, plan.entities) || plan.entities.empty() ||
      plan.entities.size() < scheme.items.size()) {
    return std::nullopt;
  }
  for (const IndexSchemeItem& row : scheme.items) plan.decimals.push_back(row.decimalbit);
  plan.decimals.resize(plan.entities.size(), kDefaultDecimals);
  NumberBases(plan);
  plan.chunks = SplitCodeChunks(codes);
  return plan;
}

std::vector<std::string> SplitCodeChunks(const std::string& codes) {
  std::vector<std::string> chunks;
  std::size_t start = 0;
  while (codes.size() - start > kCodeChunkLength) {
    const std::size_t comma = codes.find(',', start + kCodeChunkLength);
    if (comma == std::string::npos) break;
    chunks.push_back(codes.substr(start, comma + 1 - start));
    start = comma + 1;
  }
  if (start < codes.size()) chunks.push_back(codes.substr(start));
  return chunks;
}

std::string GroupStatement(const FetchPlan& plan, int group, OrbeClientSession* session, BYTE& tag) {
  if (group < 0 || group >= static_cast<int>(plan.groups.size())) return std::string();
  const std::vector<int>& seqs = plan.groups[static_cast<std::size_t>(group)];
  std::vector<const SysIndex*> indexes;
  for (const int seq : seqs) {  // groups are filled in sequence order
    indexes.push_back(static_cast<const SysIndex*>(plan.bases[static_cast<std::size_t>(seq)].index));
  }
  if (indexes.empty()) return std::string();
  return BuildGroupSql(session, indexes, plan.bases[static_cast<std::size_t>(seqs.front())].param, tag);
}

int GroupCodeType(const FetchPlan& plan, int group) {
  if (group < 0 || group >= static_cast<int>(plan.groups.size())) return IIndexMgr::CODE_REQUEST;
  const std::vector<int>& seqs = plan.groups[static_cast<std::size_t>(group)];
  if (seqs.empty()) return IIndexMgr::CODE_REQUEST;
  return static_cast<const SysIndex*>(plan.bases[static_cast<std::size_t>(seqs.front())].index)->keytype;
}

std::string TqlOptionHead(const FetchPlan& plan, int tql, OrbeClientSession* session) {
  if (tql < 0 || tql >= static_cast<int>(plan.tqls.size())) return std::string();
  const PlanBase& base = plan.bases[static_cast<std::size_t>(plan.tqls[static_cast<std::size_t>(tql)])];
  const auto* index = dynamic_cast<const SysIndexTQL*>(base.index);
  return index == nullptr ? std::string() : BuildTqlOptionHead(session, *index, base.param);
}

std::string TqlFunctionOf(const std::string& option) { return option.substr(0, option.find('|')); }

const std::string& ConvertedChunk(FetchPlan& plan, int chunk, int codeType, const ScreeningCodes& book) {
  const std::pair<int, int> key(chunk, codeType);
  if (const auto found = plan.converted.find(key); found != plan.converted.end()) return found->second;
  const std::string& codes = plan.chunks[static_cast<std::size_t>(chunk)];
  std::string converted = codeType == IIndexMgr::CODE_INNER   ? ToInnerCodes(book, codes)
                          : codeType == IIndexMgr::CODE_STOCK ? ToStockCodes(book, codes)
                                                              : codes;
  return plan.converted.emplace(key, std::move(converted)).first->second;
}

std::string ToInnerCodes(const ScreeningCodes& book, const std::string& codes) {
  return ConvertCodes(codes, [&](const std::string& company) {
    return book.InnerCodeOfSecuCode(book.SecuCodeOfCompany(company));
  });
}

std::string ToStockCodes(const ScreeningCodes& book, const std::string& codes) {
  return ConvertCodes(codes, [&](const std::string& company) { return book.SecuCodeOfCompany(company); });
}

}  // namespace orbe
