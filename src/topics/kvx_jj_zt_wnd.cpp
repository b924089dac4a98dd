#include "orbe/topics/kvx_jj_zt_wnd.h"

#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/text.h"
#include "dictionary/reference_loader_dialogs.h"
#include "topics/topic_window_factory.h"

namespace {

// The three classifications, in tree order; each fund row carries one code
// of each, in the same order.
struct FundBranch {
  const char* const_class;
  const char* title;
  bool expand;
};
constexpr FundBranch kFundBranches[] = {
    {"998", "基金类别", true},
    {"004", "投资类型", false},
    {"005", "投资风格", false},
};

}  // namespace

CKvxJJztWnd::CKvxJJztWnd() : TopicTreeWnd("CKvxJJztWnd", "基金类别") {}

CKvxJJztWnd* CKvxJJztWnd::CreateJJztWnd(CWnd* parent, const RECT& rect, DWORD style, UINT id) {
  return orbe::CreateTopicWindow<CKvxJJztWnd>(parent, rect, style, id);
}

void CKvxJJztWnd::DeleteJJztWnd(CWnd* window) { orbe::DeleteTopicWindow<CKvxJJztWnd>(window); }

bool CKvxJJztWnd::InitJJSession(CWnd* parent) { return orbe::LoadTopicOnce(orbe::ReferenceTopic::kFund, parent); }

void CKvxJJztWnd::BuildTree(OrbeClientSession* session) {
  const std::vector<tagJJINFO> rows = CwFileUtil::GetAllJJInfo(session);
  if (rows.empty()) return;
  std::vector<orbe::TopicRow> topic_rows;
  topic_rows.reserve(rows.size());
  for (const tagJJINFO& row : rows) {
    topic_rows.push_back(orbe::TopicRow::WithKeys(
        orbe::FieldText(row.FundCode), orbe::FieldText(row.FundAbbr),
        {orbe::FieldText(row.CategoryCode), orbe::FieldText(row.InvestTypeCode), orbe::FieldText(row.InvestStyleCode)}));
  }
  SetRows(std::move(topic_rows));
  for (const FundBranch& branch : kFundBranches) InitCLTree(session, branch.const_class, branch.title, "", branch.expand);
}

std::string CKvxJJztWnd::GetSelJJCode() { return SelectedCodes(); }

void CKvxJJztWnd::GetJJCodeAndName(std::vector<std::pair<std::string, std::string>>& pairs) {
  pairs = SelectedCodesAndNames();
}

void CKvxJJztWnd::ShowTreeCheckBox(bool show) { Tree().SetCheckBoxes(show); }

void CKvxJJztWnd::RegisterDBClickItemNotify(CWnd* target, UINT message) {
  double_click_target_ = target != nullptr ? target->GetSafeHwnd() : nullptr;
  double_click_message_ = message;
}

void CKvxJJztWnd::OnItemDoubleClick(HTREEITEM item) {
  if (double_click_target_ == nullptr || double_click_message_ == 0 || !Tree().IsItem(item)) return;
  const std::string text = Tree().GetItemText(item);
  ::SendMessage(double_click_target_, double_click_message_, static_cast<WPARAM>(Tree().GetItemData(item)),
                reinterpret_cast<LPARAM>(text.c_str()));
}
