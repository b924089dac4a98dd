// Scheme rows into base indicators, base indicators into request groups, and
// the code list into chunks.
#include <functional>
#include <map>

#include "indicators/fetch_multi_terms.h"
#include "orbe/indicators/fetch_multi_progress.h"

bool CFetchMultiProgress::GetAllCondition(IIndexMgr* mgr, const IndexScheme& scheme, std::vector<EntityParam>& out) {
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
      entity.params = orbe::SplitList(row.param, ';');
      mgr->GetBaseIndexes(usr, entity.bases);
    } else {
      entity.params = {row.param};
      entity.bases = {index};
    }
    if (entity.params.size() == entity.bases.size()) out.push_back(std::move(entity));
  }
  return true;
}

IndexBase* CFetchMultiProgress::GetNonUsrIndexInEntityParams(const std::vector<EntityParam>& params, int seq,
                                                             int& entity, int& base) {
  if (seq < 0) return nullptr;
  int remaining = seq;
  for (std::size_t e = 0; e < params.size(); ++e) {
    const int count = static_cast<int>(params[e].bases.size());
    if (remaining < count) {
      entity = static_cast<int>(e);
      base = remaining;
      return params[e].bases[static_cast<std::size_t>(remaining)];
    }
    remaining -= count;
  }
  return nullptr;
}

std::vector<std::string> CFetchMultiProgress::SplitCodes(const std::string& codes) {
  std::vector<std::string> chunks;
  std::string rest = codes;
  while (rest.size() > orbe::kCodeChunkLength) {
    const std::size_t comma = rest.find(',', orbe::kCodeChunkLength);
    if (comma == std::string::npos) break;
    chunks.push_back(rest.substr(0, comma + 1));
    rest.erase(0, comma + 1);
  }
  if (!rest.empty()) chunks.push_back(rest);
  return chunks;
}

void CFetchMultiProgress::GroupIndex() {
  std::map<std::string, std::size_t> groupOfKey;
  int seq = 0;
  for (const EntityParam& entity : entities_) {
    for (std::size_t b = 0; b < entity.bases.size(); ++b, ++seq) {
      results_.emplace_back();
      IndexBase* base = entity.bases[b];
      if (const auto* sys = dynamic_cast<const SysIndex*>(base)) {
        const std::string key = sys->tablename + sys->key + sys->condition + entity.params[b];
        const auto [at, inserted] = groupOfKey.emplace(key, groups_.size());
        if (inserted) groups_.emplace_back();
        groups_[at->second].push_back(seq);
      } else if (dynamic_cast<const SysIndexTQL*>(base) != nullptr) {
        tqls_.push_back(seq);
      }
    }
  }
}

std::string CFetchMultiProgress::ParamOf(int seq) const {
  int entity = 0;
  int base = 0;
  if (GetNonUsrIndexInEntityParams(entities_, seq, entity, base) == nullptr) return std::string();
  return entities_[static_cast<std::size_t>(entity)].params[static_cast<std::size_t>(base)];
}

int CFetchMultiProgress::GetGroupSysIndexsCodeType(const std::vector<int>& group) const {
  if (group.empty()) return IIndexMgr::CODE_REQUEST;
  int entity = 0;
  int base = 0;
  const auto* sys = dynamic_cast<const SysIndex*>(GetNonUsrIndexInEntityParams(entities_, group.front(), entity, base));
  return sys == nullptr ? IIndexMgr::CODE_REQUEST : sys->keytype;
}

std::string CFetchMultiProgress::GenSql(const std::vector<int>& group, BYTE& tag) const {
  std::vector<const SysIndex*> indexes;
  for (const int seq : group) {  // groups are filled in sequence order
    int entity = 0;
    int base = 0;
    if (const auto* sys = dynamic_cast<const SysIndex*>(GetNonUsrIndexInEntityParams(entities_, seq, entity, base))) {
      indexes.push_back(sys);
    }
  }
  if (indexes.empty()) return std::string();
  return orbe::BuildGroupSql(session_, indexes, ParamOf(group.front()), tag);
}

std::string CFetchMultiProgress::GenTQLOption(int tqlIndex) const {
  if (tqlIndex < 0 || tqlIndex >= static_cast<int>(tqls_.size())) return std::string();
  const int seq = tqls_[static_cast<std::size_t>(tqlIndex)];
  int entity = 0;
  int base = 0;
  const auto* tql = dynamic_cast<const SysIndexTQL*>(GetNonUsrIndexInEntityParams(entities_, seq, entity, base));
  if (tql == nullptr) return std::string();
  const std::string head = orbe::BuildTqlOptionHead(session_, *tql, ParamOf(seq));
  if (head.empty()) return std::string();
  if (chunk_ < 0 || chunk_ >= static_cast<int>(chunks_.size())) return head;
  return head + ConvertedChunk(IIndexMgr::CODE_STOCK);
}

const std::string& CFetchMultiProgress::ConvertedChunk(int codeType) const {
  const std::pair<int, int> key(chunk_, codeType);
  if (const auto found = converted_chunks_.find(key); found != converted_chunks_.end()) return found->second;
  const std::string& chunk = chunks_[static_cast<std::size_t>(chunk_)];
  std::string codes = codeType == IIndexMgr::CODE_INNER   ? CmpCodesToInnerCodes(Codes(), chunk)
                      : codeType == IIndexMgr::CODE_STOCK ? CmpCodesToStockCodes(Codes(), chunk)
                                                          : chunk;
  return converted_chunks_.emplace(key, std::move(codes)).first->second;
}

namespace {

std::string ConvertCodes(const std::string& codes, const std::function<std::string(const std::string&)>& convert) {
  std::vector<std::string> out;
  for (const std::string& code : orbe::SplitList(codes, ',')) {
    if (code.empty()) continue;
    std::string converted = convert(code);
    if (!converted.empty()) out.push_back(std::move(converted));
  }
  return orbe::JoinList(out, ',');
}

}  // namespace

std::string CFetchMultiProgress::CmpCodesToInnerCodes(const orbe::ScreeningCodes& book, const std::string& codes) {
  return ConvertCodes(codes, [&](const std::string& company) {
    return book.InnerCodeOfSecuCode(book.SecuCodeOfCompany(company));
  });
}

std::string CFetchMultiProgress::CmpCodesToStockCodes(const orbe::ScreeningCodes& book, const std::string& codes) {
  return ConvertCodes(codes, [&](const std::string& company) { return book.SecuCodeOfCompany(company); });
}
