// The result table: user indicators, scaled and coloured cells, conditions
// and the logical expression.
#include <set>
#include <unordered_map>

#include "indicators/fetch_calculator.h"
#include "orbe/platform/text.h"

namespace orbe {

namespace {

constexpr int kFixedColumns = 3;
constexpr COLORREF kUsrColor = 0xE6E6E6;
constexpr COLORREF kSysColor = 0xC0C0C0;
constexpr COLORREF kUpColor = 0x3232FF;
constexpr COLORREF kDownColor = 0x00E600;
constexpr COLORREF kRowNumberColor = 0xE6E6E6;
constexpr COLORREF kCodeColor = 0x88F8F0;

COLORREF ColorOf(const vtParam& value) {
  if (value.updown == 1) return kUpColor;
  if (value.updown == -1) return kDownColor;
  return kSysColor;
}

sg_cell TextCell(const std::string& text, COLORREF color) {
  sg_cell cell;
  cell.value.type = DATA_TYPE_STRING;
  cell.value.str = text;
  cell.text = text;
  cell.color = color;
  return cell;
}

}  // namespace

CodeValues CalcUsrValues(IIndexMgr* mgr, const std::vector<EntityParam>& params,
                         const std::vector<CodeValues>& results, int entity, int firstSeq, int count) {
  CodeValues out;
  if (mgr == nullptr || entity < 0 || entity >= static_cast<int>(params.size())) return out;
  auto* usr = dynamic_cast<UsrIndex*>(params[static_cast<std::size_t>(entity)].index);
  if (usr == nullptr || firstSeq < 0 || firstSeq + count > static_cast<int>(results.size())) return out;
  const std::vector<IndexBase*>& bases = params[static_cast<std::size_t>(entity)].bases;
  std::set<std::string> codes;
  for (int seq = firstSeq; seq < firstSeq + count; ++seq) {
    for (const auto& entry : results[static_cast<std::size_t>(seq)]) codes.insert(entry.first);
  }
  for (const std::string& code : codes) {
    std::map<std::string, vtParam> values;
    bool complete = true;
    for (int i = 0; i < count && i < static_cast<int>(bases.size()) && complete; ++i) {
      const CodeValues& baseValues = results[static_cast<std::size_t>(firstSeq + i)];
      const auto found = baseValues.find(code);
      complete = found != baseValues.end();
      // The first occurrence of a name wins when a formula reads one base twice.
      if (complete) values.emplace(bases[static_cast<std::size_t>(i)]->name, found->second);
    }
    // A formula over a missing value, or one that gives no value (a zero
    // denominator), has no value: a zero in its place would show a growth of
    // -100 % or a price-to-book of 0 and pass conditions it should not.
    if (!complete) continue;
    vtParam result;
    result.type = usr->datatype;
    CString err;
    if (mgr->CalcUsrIndexValue(usr, values, result, err) == 0) continue;
    result.type = usr->datatype;
    out[code] = result;
  }
  return out;
}

SgTable BuildResultTable(IIndexMgr* mgr, const FetchPlan& plan, const std::vector<CodeValues>& results,
                         const ScreeningCodes& book) {
  SgTable table;
  const std::vector<EntityParam>& entities = plan.entities;
  // Looked up once per value: hashed, since first-seen order is kept by the ids.
  std::unordered_map<std::string, int> rowOfCode;
  int firstSeq = 0;
  for (std::size_t k = 0; k < entities.size(); ++k) {
    const EntityParam& entity = entities[k];
    const int count = static_cast<int>(entity.bases.size());
    const bool isUsr = dynamic_cast<const UsrIndex*>(entity.index) != nullptr;
    // Fetched values are read in place; only user indicators make new ones.
    CodeValues computed;
    const CodeValues* values = &computed;
    if (isUsr) {
      computed = CalcUsrValues(mgr, entities, results, static_cast<int>(k), firstSeq, count);
    } else if (count > 0) {
      values = &results[static_cast<std::size_t>(firstSeq)];
    }
    const int decimals = plan.decimals[k];
    for (const auto& [code, raw] : *values) {
      auto [at, added] = rowOfCode.emplace(code, static_cast<int>(rowOfCode.size()));
      SgRow& row = table[at->second];
      if (added) {
        row[0] = TextCell(Format("%d", at->second + 1), kRowNumberColor);
        row[0].value = vtParam{};
        row[0].value.type = DATA_TYPE_INT;
        row[0].value.i32 = at->second + 1;
        row[1] = TextCell(book.SecuCodeOfCompany(code), kCodeColor);
        row[2] = TextCell(book.AbbrOfCompany(code), 0xFFFFFF);
      }
      sg_cell cell;
      cell.value = ScaleToUnit(raw, entity.index->unittype, entity.unit);
      cell.color = isUsr ? kUsrColor : ColorOf(raw);
      cell.text = DisplayText(cell.value, decimals);
      row[static_cast<int>(k) + kFixedColumns] = cell;
    }
    firstSeq += count;
  }
  return table;
}

SgTable FilterByLogic(const SgTable& table, const std::vector<EntityParam>& entities, CPyLogicCalc& logic) {
  SgTable output;
  std::vector<bool> conditions;
  conditions.reserve(entities.size());
  for (const auto& [rowId, row] : table) {
    conditions.clear();
    for (std::size_t k = 0; k < entities.size(); ++k) {
      const EntityParam& entity = entities[k];
      const auto cell = row.find(static_cast<int>(k) + kFixedColumns);
      if (cell == row.end() || entity.index == nullptr) {
        conditions.push_back(false);
        continue;
      }
      conditions.push_back(TestCondition(cell->second.value, entity.index->datatype, entity.op, entity.value));
    }
    if (logic.Calc(conditions)) output[rowId] = row;
  }
  return output;
}

}  // namespace orbe
