#include "reports/report_wnd_splits.h"

#include "orbe/platform/text.h"
#include "orbe/reports/cini_report_util.h"
#include "reports/report_wnd_cells.h"

namespace orbe {
namespace {

// The configuration of the piece for one row: the list's, shown once, without
// the split column, titled by the row's value in it.
std::unique_ptr<ListCfg> PieceConfig(const ListCfg& cfg, const std::string& value) {
  auto piece = std::make_unique<ListCfg>(static_cast<const ListCfg&>(cfg));
  piece->type = kWndList;
  piece->control_high = -1;
  piece->splittable = false;
  piece->init_split = false;
  piece->fix_first_col = false;
  CopyToField(piece->split_title, "");
  CopyToField(piece->title, FieldText(cfg.title) + " " + value);
  CIniReportUtil::DeleteColCfgbyTitle(piece.get(), FieldText(cfg.split_title));
  return piece;
}

void CopyRow(const VList& from, int row, VList& to) {
  const int target = to.AddRow();
  for (int col = 0; col < to.GetHeadCount(); ++col) {
    const int source = from.FindColumn(to.GetHead(col)->title);
    if (source >= 0) to.SetValue(target, col, from.GetValue(row, source));
  }
}

}  // namespace

bool ReportSplits::Split(ScrollContainer& container, int id, const ListCfg& cfg, int money_unit, CellMap& cells) {
  VList* list = container.GetList(id);
  const int rows = list != nullptr ? list->GetDataRowCount() : 0;
  const int split_col = list != nullptr ? list->FindColumn(FieldText(cfg.split_title)) : -1;
  if (rows < 1 || rows > kMaxSplitRows || split_col < 0) return false;

  container.SetTitleHeight(id, 0);
  container.SetWndHigth(id, 0, false);
  SplitList split;
  split.original = id;
  split.cfg = &cfg;
  int after = id;
  for (int row = 0; row < rows; ++row) {
    std::unique_ptr<ListCfg> piece_cfg = PieceConfig(cfg, list->GetValueText(row, split_col));
    const int piece_id = container.InsertWndAfter(after, FieldText(piece_cfg->title), static_cast<int>(ScrollCellType::kList),
                                             piece_cfg->title_high, piece_cfg->control_high, piece_cfg->control_width);
    VList* piece = piece_id >= 0 ? container.GetList(piece_id) : nullptr;
    if (piece == nullptr) continue;  // the copy goes with its unique_ptr
    piece->SetMoneyUnit(money_unit);
    piece->SetHead(ListHeading(*piece_cfg, money_unit));
    CopyRow(*list, row, *piece);
    if (piece->GetDataRowCount() < 2) piece->Reverse();
    FinishListLook(*piece);
    cells[piece_id] = piece_cfg.get();
    split.pieces.push_back(piece_id);
    split.piece_cfgs.push_back(std::move(piece_cfg));
    after = piece_id;
  }
  splits_.push_back(std::move(split));
  split_ = true;
  return true;
}

void ReportSplits::MergeAll(ScrollContainer& container, CellMap& cells, bool restore) {
  for (const SplitList& split : splits_) {
    for (const int piece : split.pieces) {
      container.DeleteWnd(piece);
      cells.erase(piece);
    }
    if (restore) {
      container.SetTitleHeight(split.original, split.cfg->title_high);
      container.SetWndHigth(split.original, split.cfg->control_high, false);
    }
  }
  splits_.clear();
  split_ = false;
  if (restore) container.AdjustAllWnd();
}

}  // namespace orbe
