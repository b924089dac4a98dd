// List and list-with-histogram cells: a heading record per configured column,
// the reply's records as rows, then sorting, hidden columns, summaries,
// colours and the titles that tell of no data or a cut list.
#include <algorithm>
#include <memory>
#include <vector>

#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/text.h"
#include "orbe/widgets/histogram_list.h"
#include "reports/report_wnd_cells.h"

namespace orbe {
namespace {

// Heading titles travel in 100-character records.
constexpr std::size_t kHeadingTitleSize = 100;
// Large enough for the long-text fields (company profiles) of a reply.
constexpr int kTextBufferSize = 65536;
constexpr char kAbbreviationTitle[] = "股票简称";
constexpr int kAbbreviationSize = 64;

int DataKindOf(char type) { return type == 'C' ? 0 : type == 'F' ? 1 : 2; }
int AlignOf(char align) { return align == 'L' ? 0 : align == 'R' ? 1 : 2; }

std::string HeadingTitle(const char* text, std::size_t capacity) {
  char bounded[kHeadingTitleSize] = {};
  CopyBounded(bounded, sizeof bounded, FieldText(text, capacity));
  return bounded;
}

// Reads one column of every record: the field, how to read it, and whether
// its texts are company codes to be shown as abbreviations.
struct ColumnReader {
  tagMemFieldInfo field{};
  bool found = false;
  int kind = 0;
  bool abbreviation = false;
};

// A number column may show an integer field (a share count, a head count):
// the reply reads integers only as integers.
bool ReadNumber(IFetchData& reply, int record, const tagMemFieldInfo& field, double* number) {
  if (reply.GetRecordAsDouble(record, &field, number)) return true;
  std::int64_t wide = 0;
  if (reply.GetRecordAsInt64(record, &field, &wide)) {
    *number = static_cast<double>(wide);
    return true;
  }
  int narrow = 0;
  if (!reply.GetRecordAsInt(record, &field, &narrow) || IsInvalidMark(static_cast<std::int32_t>(narrow)))
    return false;
  *number = narrow;
  return true;
}

// The buffer long texts are read into, made on the first text read: most
// report lists hold only numbers and dates.
class TextBuffer {
 public:
  char* Get() {
    if (text_ == nullptr) text_ = std::make_unique_for_overwrite<char[]>(kTextBufferSize);
    return text_.get();
  }

 private:
  std::unique_ptr<char[]> text_;
};

ListValue ReadValue(IFetchData& reply, int record, const ColumnReader& column, TextBuffer& buffer,
                    OrbeClientSession* session) {
  const auto kind = static_cast<ListValueKind>(column.kind);
  if (!column.found) return ListValue::Invalid(kind);
  switch (kind) {
    case ListValueKind::kDate: {
      int date = 0;
      if (!reply.GetRecordAsInt(record, &column.field, &date) || IsInvalidMark(static_cast<std::int32_t>(date)))
        return ListValue::Invalid(kind);
      return ListValue::Date(date);
    }
    case ListValueKind::kNumber: {
      double number = 0;
      if (!ReadNumber(reply, record, column.field, &number) || IsInvalidMark(number)) return ListValue::Invalid(kind);
      return ListValue::Number(number);
    }
    case ListValueKind::kText:
      break;
  }
  // The reply writes a terminated text (an empty one when it fails).
  char* const text = buffer.Get();
  if (!reply.GetRecordAsString(record, &column.field, text, kTextBufferSize)) return ListValue::Invalid(kind);
  std::string value(text);
  if (column.abbreviation && !value.empty()) {
    char abbreviation[kAbbreviationSize] = {};
    CwFileUtil::GetSecuAbbr(session, abbreviation, sizeof abbreviation, value.c_str());
    if (abbreviation[0] != '\0') value = abbreviation;
  }
  return ListValue::Text(std::move(value));
}

// Fills the rows; true when the reply held more records than the list shows.
bool FillRows(VList& list, const CellBuild& build, const ListCfg& cfg) {
  if (build.reply == nullptr) return false;
  IFetchData& reply = *build.reply;
  const int records = std::max(reply.GetRecordCount(), 0);
  const int shown = std::min(records, std::max(cfg.max_row, 0));
  std::vector<ColumnReader> columns;
  for (const ListColCfg& col : cfg.columns) {
    ColumnReader column;
    column.kind = DataKindOf(col.data_type);
    column.found = reply.GetFieldInfo(FieldText(col.name).c_str(), &column.field) != FALSE;
    column.abbreviation = FieldText(col.title) == kAbbreviationTitle;
    columns.push_back(column);
  }
  TextBuffer text;
  for (int record = 0; record < shown; ++record) {
    const int row = list.AddRow();
    for (std::size_t col = 0; col < columns.size(); ++col)
      list.SetValue(row, static_cast<int>(col), ReadValue(reply, record, columns[col], text, build.session));
  }
  return records > shown;
}

void AddSummaries(VList& list, const ListCfg& cfg) {
  struct Flag {
    SummaryKind kind;
    bool ListColCfg::*flag;
  };
  static constexpr Flag kFlags[] = {
      {SummaryKind::kSum, &ListColCfg::summary_sum},     {SummaryKind::kCount, &ListColCfg::summary_count},
      {SummaryKind::kMin, &ListColCfg::summary_min},     {SummaryKind::kMax, &ListColCfg::summary_max},
      {SummaryKind::kAvg, &ListColCfg::summary_avg},
  };
  for (const Flag& flag : kFlags) {
    std::vector<int> columns;
    for (std::size_t col = 0; col < cfg.columns.size(); ++col) {
      if (cfg.columns[col].*flag.flag) columns.push_back(static_cast<int>(col));
    }
    if (!columns.empty()) list.AddSummaryRow(flag.kind, columns);
  }
}

// The list's cross selection starts at its first record and first non-fixed
// column, and the histogram shows that column.
void SelectFirstColumn(KVXHistogramList& composite) {
  VList& list = composite.GetList();
  list.EnableCrossSelection(true);
  list.SetSelColor(kCrossSelectionColor);
  if (list.GetHeadCount() <= 1 || list.GetDataRowCount() == 0 || list.IsReversed()) return;
  const int col = list.GetFixedColumnCount();
  list.SetCrossCell(list.GetFixedRowCount(), col);
  composite.SetHistogramColumn(col);
}

}  // namespace

std::string TitleWith(const char* title, const char* suffix) { return Format("%s %s", title, suffix); }

std::vector<VListHead> ListHeading(const ListCfg& cfg, int money_unit) {
  std::vector<VListHead> heads;
  for (const ListColCfg& col : cfg.columns) {
    VListHead head;
    head.title = HeadingTitle(col.title, sizeof col.title);
    head.compare_title = HeadingTitle(col.compare_title, sizeof col.compare_title);
    head.data_kind = DataKindOf(col.data_type);
    head.data_align = AlignOf(col.data_align);
    head.head_align = AlignOf(col.head_align);
    head.width = col.width;
    head.head_format = col.head_format;
    head.decimals = col.decimal_bits;
    head.data_format = col.data_format;
    head.zero_format = col.zero_format;
    head.invalid_format = col.invalid_format;
    head.color_mode = col.color_mode;
    head.hide_invalid = col.hide_invalid_col;
    head.money_unit = money_unit;
    heads.push_back(std::move(head));
  }
  return heads;
}

void FinishListLook(VList& list) {
  list.HideInvalidColumns();
  list.ApplyCompareColors();
}

int BuildListCell(const CellBuild& build, const ListCfg& cfg, bool histogram) {
  ScrollContainer& container = build.container;
  const std::string title = FieldText(cfg.title);
  const int id = container.AddWnd(title, static_cast<int>(histogram ? ScrollCellType::kHistogramList : ScrollCellType::kList),
                                  cfg.title_high, cfg.control_high, cfg.control_width);
  VList* list = id >= 0 ? container.GetList(id) : nullptr;
  if (list == nullptr) return -1;
  bool truncated = false;
  {
    const VList::Batch one_layout(*list);
    list->SetMoneyUnit(build.money_unit);
    list->SetHead(ListHeading(cfg, build.money_unit));
    list->SetFixFirstCol(cfg.fix_first_col);
    truncated = FillRows(*list, build, cfg);
    const int sort_col = cfg.init_sort_title[0] != '\0' ? list->FindColumn(FieldText(cfg.init_sort_title)) : -1;
    if (sort_col >= 0) list->SortByColumn(sort_col, cfg.init_sort_ascending);
    list->HideInvalidColumns();
    AddSummaries(*list, cfg);
    list->ApplyCompareColors();
    // Turned inside the batch: the grid is laid out (and its columns fitted) once.
    if (!cfg.horizontal) list->Reverse();
  }
  if (list->GetDataRowCount() == 0) {
    container.SetCellTitle(id, TitleWith(title.c_str(), kNoDataText));
    container.SetWndHigth(id, 0, true);
    container.SetCellTitleColor(id, kNoDataColor);
  } else if (truncated) {
    list->SetTruncated(true);
    container.SetCellTitle(id, TitleWith(title.c_str(), kTruncatedText));
    container.SetCellTitleColor(id, kWarningColor);
  }
  if (histogram) {
    if (KVXHistogramList* composite = container.GetHistogramList(id)) SelectFirstColumn(*composite);
  }
  return id;
}

}  // namespace orbe
