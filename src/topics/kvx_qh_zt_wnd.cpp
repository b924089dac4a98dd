#include "orbe/topics/kvx_qh_zt_wnd.h"

#include <map>

#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/text.h"
#include "dictionary/reference_loader_dialogs.h"
#include "topics/topic_window_factory.h"

namespace {

constexpr CKvxQHztWnd::Market kMarkets[] = {
    {"中国金融期货交易所", "CZ"}, {"上海期货交易所", "QS"}, {"大连期货交易所", "QD"}, {"郑州期货交易所", "QZ"},
    {"渤海期货交易所", "50"},     {"上海黄金交易所", "46"}, {"国际贵金属", "13"},     {"伦敦金属", "14"},
    {"伦敦石油", "15"},           {"纽约商品", "16"},       {"纽约石油", "17"},       {"芝加哥谷", "18"},
    {"东京工业品", "19"},         {"纽约期货", "20"},       {"马来期货", "39"},       {"国内主力合约", "1"},
};

// Keys name the market too: a variety or contract code may recur on
// another market.
std::string VarietyKey(const std::string& market, const std::string& variety) { return market + "|" + variety; }
std::string ContractKey(const std::string& market, const std::string& contract) {
  return market + "|" + contract + "|";
}

}  // namespace

std::span<const CKvxQHztWnd::Market> CKvxQHztWnd::Markets() { return kMarkets; }

CKvxQHztWnd::CKvxQHztWnd() : TopicTreeWnd("CKvxQHztWnd", "期货专题") {}

CKvxQHztWnd* CKvxQHztWnd::CreateQHztWnd(CWnd* parent, const RECT& rect, DWORD style, UINT id) {
  return orbe::CreateTopicWindow<CKvxQHztWnd>(parent, rect, style, id);
}

void CKvxQHztWnd::DeleteQHztWnd(CWnd* window) { orbe::DeleteTopicWindow<CKvxQHztWnd>(window); }

bool CKvxQHztWnd::InitQHSession(CWnd* parent) {
  return orbe::LoadTopicOnce(orbe::ReferenceTopic::kFutures, parent);
}

// Varieties in the order the table first lists them, each with its contracts
// in table order. Contracts of a market the table of branches does not name
// stay out of the tree.
void CKvxQHztWnd::BuildTree(OrbeClientSession* session) {
  const std::vector<tagQHINFO> rows = CwFileUtil::GetAllQHInfo(session);
  if (rows.empty()) return;
  std::vector<orbe::TopicRow> topic_rows;
  topic_rows.reserve(rows.size());
  for (const tagQHINFO& row : rows) {
    const std::string market = orbe::FieldText(row.ExchangeCode);
    const std::string code = orbe::FieldText(row.ContractCode);
    topic_rows.push_back({code, orbe::FieldText(row.VarietyName) + orbe::FieldText(row.MonthSuffix),
                          {VarietyKey(market, orbe::FieldText(row.VarietyCode)), ContractKey(market, code)}});
  }
  SetRows(std::move(topic_rows));
  for (const Market& market : kMarkets) {
    const HTREEITEM root = InsertRoot(market.text);
    std::map<std::string, HTREEITEM> varieties;
    for (const tagQHINFO& row : rows) {
      if (orbe::FieldText(row.ExchangeCode) != market.key) continue;
      const std::string variety = orbe::FieldText(row.VarietyCode);
      auto found = varieties.find(variety);
      if (found == varieties.end()) {
        const std::string name = orbe::FieldText(row.VarietyName);
        found = varieties
                    .emplace(variety, InsertKeyItem(root, name.empty() ? variety : name,
                                                    VarietyKey(market.key, variety)))
                    .first;
      }
      const std::string code = orbe::FieldText(row.ContractCode);
      InsertKeyItem(found->second, code, ContractKey(market.key, code));
    }
  }
}

std::string CKvxQHztWnd::GetAllSelQHCode() { return SelectedCodes(); }

void CKvxQHztWnd::GetQHCodeAndName(std::vector<std::pair<std::string, std::string>>& pairs) {
  pairs = SelectedCodesAndNames();
}
