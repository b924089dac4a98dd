#include "orbe/topics/kvx_zq_zt_wnd.h"

#include "dictionary/reference_loader_targets.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/text.h"
#include "dictionary/reference_loader_dialogs.h"
#include "topics/topic_window_factory.h"

namespace {

constexpr const char kMarketClass[] = "012";

// Category keys carry the category's pre-order number; market keys are the
// code suffixes, which begin with '.' and so never equal a category key.
std::string CategoryKey(std::size_t number) { return orbe::Format("C%04zu", number); }

std::string SuffixOf(const std::string& code) {
  const std::size_t dot = code.rfind('.');
  return dot == std::string::npos ? std::string() : code.substr(dot);
}

void Number(const std::vector<orbe::BondCategory>& categories, std::vector<const orbe::BondCategory*>& out) {
  for (const orbe::BondCategory& category : categories) {
    out.push_back(&category);
    Number(category.children, out);
  }
}

}  // namespace

CKvxZQztWnd::CKvxZQztWnd() : TopicTreeWnd("CKvxZQztWnd", "债券类别") {}

CKvxZQztWnd* CKvxZQztWnd::CreateZQztWnd(CWnd* parent, const RECT& rect, DWORD style, UINT id,
                                        const std::string& categoryFile) {
  return orbe::CreateTopicWindow<CKvxZQztWnd>(parent, rect, style, id, categoryFile);
}

void CKvxZQztWnd::DeleteZQztWnd(CWnd* window) { orbe::DeleteTopicWindow<CKvxZQztWnd>(window); }

bool CKvxZQztWnd::InitZQSession(CWnd* parent) { return orbe::LoadTopicOnce(orbe::ReferenceTopic::kBond, parent); }

BOOL CKvxZQztWnd::Create(CWnd* parent, const RECT& rect, DWORD style, UINT id, const std::string& categoryFile) {
  category_file_ = categoryFile;
  return TopicTreeWnd::Create(parent, rect, style, id);
}

bool CKvxZQztWnd::LoadCategoryXml(const std::string& path) {
  categories_.clear();
  numbered_.clear();
  category_error_.clear();
  std::optional<std::vector<orbe::BondCategory>> categories = orbe::LoadBondCategories(path, &category_error_);
  if (!categories) return false;
  categories_ = std::move(*categories);
  Number(categories_, numbered_);
  return true;
}

void CKvxZQztWnd::AddFixedNode(OrbeClientSession* session) {
  fixed_nodes_.clear();
  for (const orbe::BondMarket& market : orbe::BondMarkets()) {
    const std::string code(market.code);
    std::string name = orbe::FieldText(CwFileUtil::GetConst(session, kMarketClass, code.c_str()).text);
    fixed_nodes_.push_back({std::string(market.suffix), name.empty() ? std::string(market.suffix) : name});
  }
  if (!HasRows()) return;
  const HTREEITEM root = InsertRoot("交易市场");
  for (const FixedNode& node : fixed_nodes_) InsertKeyItem(root, node.name, node.suffix);
}

// Items in the same pre-order as the numbers of numbered_.
void CKvxZQztWnd::AddCategoryItems(HTREEITEM parent, const std::vector<orbe::BondCategory>& categories,
                                   std::size_t& number) {
  for (const orbe::BondCategory& category : categories) {
    const HTREEITEM item = InsertKeyItem(parent, category.name, CategoryKey(number++));
    AddCategoryItems(item, category.children, number);
  }
}

std::vector<std::string> CKvxZQztWnd::KeysOf(const tagZQINFO& bond) const {
  const std::string type = orbe::FieldText(bond.TypeName);
  const std::string market = orbe::FieldText(bond.TradeMarket);
  std::vector<std::string> keys;
  for (std::size_t number = 0; number < numbered_.size(); ++number) {
    if (numbered_[number]->Holds(type, market)) keys.push_back(CategoryKey(number));
  }
  const std::string suffix = SuffixOf(orbe::FieldText(bond.BondCode));
  if (!suffix.empty()) keys.push_back(suffix);
  return keys;
}

void CKvxZQztWnd::BuildTree(OrbeClientSession* session) {
  if (!category_file_.empty()) {
    LoadCategoryXml(category_file_);
  } else {
    category_error_ = "no category file";
  }
  const std::vector<tagZQINFO> rows = CwFileUtil::GetAllZQInfo(session);
  std::vector<orbe::TopicRow> topic_rows;
  topic_rows.reserve(rows.size());
  for (const tagZQINFO& row : rows) {
    topic_rows.push_back({orbe::FieldText(row.BondCode), orbe::FieldText(row.BondAbbr), KeysOf(row)});
  }
  SetRows(std::move(topic_rows));
  std::size_t number = 0;
  if (HasRows()) AddCategoryItems(TVI_ROOT, categories_, number);
  AddFixedNode(session);
}

std::string CKvxZQztWnd::GetAllSelZQCode() { return SelectedCodes(); }

void CKvxZQztWnd::GetAllSelZQCode(std::vector<std::string>& codes) {
  codes.clear();
  for (auto& [code, name] : SelectedCodesAndNames()) codes.push_back(std::move(code));
}

void CKvxZQztWnd::GetAllSelZQCodeAndName(std::vector<std::pair<std::string, std::string>>& pairs) {
  pairs = SelectedCodesAndNames();
}

std::string CKvxZQztWnd::GetFixedZQNameByCode(const std::string& code) const {
  const std::string suffix = SuffixOf(code);
  for (const FixedNode& node : fixed_nodes_) {
    if (!suffix.empty() && node.suffix == suffix) return node.name;
  }
  return {};
}
