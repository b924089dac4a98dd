#include "orbe/topics/kvx_gg_zt_wnd.h"

#include <set>

#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/text.h"
#include "dictionary/reference_loader_dialogs.h"
#include "topics/topic_window_factory.h"

namespace {

constexpr const char kIndustryClass[] = "809";

}  // namespace

CKvxGGztWnd::CKvxGGztWnd() : TopicTreeWnd("CKvxGGztWnd", "港股专题") {}

CKvxGGztWnd* CKvxGGztWnd::CreateGGztWnd(CWnd* parent, const RECT& rect, DWORD style, UINT id) {
  return orbe::CreateTopicWindow<CKvxGGztWnd>(parent, rect, style, id);
}

void CKvxGGztWnd::DeleteGGztWnd(CWnd* window) { orbe::DeleteTopicWindow<CKvxGGztWnd>(window); }

bool CKvxGGztWnd::InitGGSession(CWnd* parent) {
  return orbe::LoadTopicOnce(orbe::ReferenceTopic::kHongKong, parent);
}

void CKvxGGztWnd::BuildTree(OrbeClientSession* session) {
  const std::vector<tagGGINFO> rows = CwFileUtil::GetAllGGInfo(session);
  if (rows.empty()) return;
  std::vector<orbe::TopicRow> topic_rows;
  topic_rows.reserve(rows.size());
  for (const tagGGINFO& row : rows) {
    topic_rows.push_back(orbe::TopicRow::WithKeys(orbe::FieldText(row.SecuCode), orbe::FieldText(row.SecuAbbr),
                                                  {orbe::FieldText(row.BkID), orbe::FieldText(row.HyID)}));
  }
  SetRows(std::move(topic_rows));
  InitCLTree(session, kIndustryClass, "港股行业", "", false);
  InitGGBkTree(rows);
}

// One item per distinct board of the table, in the byte order of the board
// identifiers.
void CKvxGGztWnd::InitGGBkTree(const std::vector<tagGGINFO>& rows) {
  const HTREEITEM root = InsertRoot("港股板块");
  std::set<std::pair<std::string, std::string>> boards;
  for (const tagGGINFO& row : rows) {
    std::string id = orbe::FieldText(row.BkID);
    if (!id.empty()) boards.emplace(std::move(id), orbe::FieldText(row.BkName));
  }
  for (const auto& [id, name] : boards) InsertKeyItem(root, name, id);
}

std::string CKvxGGztWnd::GetAllSelStockCode() { return SelectedCodes(); }

void CKvxGGztWnd::GetGGCodeAndName(std::vector<std::pair<std::string, std::string>>& pairs) {
  pairs = SelectedCodesAndNames();
}
