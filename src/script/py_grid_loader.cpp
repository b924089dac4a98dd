#include "script/python_api.h"

#include "script/py_grid_loader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "dictionary/host_board_reader.h"
#include "env/module_state.h"
#include "orbe/env.h"
#include "orbe/platform/message_box.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window_class.h"
#include "orbe/script/script_call.h"
#include "orbe/script/script_dialogs.h"
#include "orbe/script/script_env.h"
#include "orbe/widgets/date_controls.h"
#include "orbe/widgets/histogram.h"
#include "orbe/widgets/hq_grid_ctrl.h"
#include "orbe/widgets/scroll_bar.h"
#include "script/host_quote.h"
#include "script/py_grid_binding.h"
#include "script/py_ptr.h"

namespace orbe::script {
namespace {

constexpr char kClassName[] = "PyGridLoader";
constexpr UINT kClassStyle = 16384;
constexpr char kCaptionError[] = "\xb4\xed\xce\xf3\xd0\xc5\xcf\xa2";  // "错误信息"
constexpr char kCaptionInfo[] = "\xd0\xc5\xcf\xa2";                   // "信息"
constexpr std::size_t kMaxHeadName = 100;
constexpr int kMaxDataRows = 100000;  // a script's row index beyond this is refused, not allocated
constexpr int kMaxOptionBlock = 8000;
constexpr int kMaxFieldText = 65536;
constexpr COLORREF kHeadText = 0xFFFF52;
constexpr COLORREF kLineColor = 192;
constexpr COLORREF kSelection = 0x800000;

// The widget kind of the corner: a plain window painted black.
class CornerStatic : public orbe::KvxWidget {
 public:
  CornerStatic() : KvxWidget(orbe::WidgetKind::kGeneric) { SetBkColor(RGB(0, 0, 0)); }
};

bool RegisterLoaderClass() {
  WNDCLASSA wc{};
  wc.style = kClassStyle;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = nullptr;
  wc.lpszClassName = kClassName;
  wc.hInstance = AfxGetInstanceHandle();
  return AfxRegisterClass(&wc) != FALSE;
}

// The longest prefix of at most `bytes` that does not split a GBK character.
std::string CutText(const std::string& text, std::size_t bytes) {
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t width = IsGbkLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
    if (at + width > bytes) break;
    at += width;
  }
  return text.substr(0, at);
}

using SetPyGridProc = void (*)(IPyGrid*);

void HandToGridComponent(IPyGrid* grid) {
  if (auto* set = reinterpret_cast<SetPyGridProc>(Siblings().Others().SetPyGrid)) set(grid);
}

}  // namespace

CPyGridLoader::CPyGridLoader() = default;

CPyGridLoader::~CPyGridLoader() {
  DestroyWindow();
  const ScriptLock lock;
  module_.reset();
}

bool CPyGridLoader::CreateLoader(CWnd* parent, DWORD style, UINT id, DWORD ex_style) {
  if (!RegisterLoaderClass()) return false;
  return CreateEx(ex_style, kClassName, "", style | WS_CHILD, RECT{0, 0, 0, 0}, parent, id) != FALSE;
}

int CPyGridLoader::OnCreate() {
  reply_ = CreateFetchDataHandle(GetSafeHwnd(), kGridReplyReady);
  const std::string private_path = GetPrivPath();
  if (!private_path.empty()) AddPyScriptPath(private_path);
  const RECT none{0, 0, 0, 0};
  vbar_ = std::make_unique<CXScrollBar>(true);
  hbar_ = std::make_unique<CXScrollBar>(false);
  corner_ = std::make_unique<CornerStatic>();
  grid_ = std::make_unique<HQGridCtrl>();
  histogram_ = std::make_unique<KVXHistogram>();
  if (!vbar_->Create(none, this, 1) || !hbar_->Create(none, this, 2) ||
      !corner_->Create(this, none, kLoaderCornerId, WS_CHILD | WS_VISIBLE) ||
      !grid_->Create(none, this, kLoaderGridId, WS_CHILD | WS_VISIBLE) ||
      !histogram_->Create(this, none, 3, WS_CHILD | WS_VISIBLE)) {
    return -1;
  }
  // The grid starts black, with yellow headings and dark red lines.
  grid_->SetGridBkColor(0);
  grid_->SetHeadColors(0, kHeadText);
  grid_->SetBodyColors(0, RGB(255, 255, 255));
  grid_->SetGridLineColor(kLineColor);
  grid_->SetGridLines(GVL_BOTH);
  grid_->SetSelColor(kSelection);
  grid_->SetSelTextColor(CLR_DEFAULT);
  grid_->Look().arrow_color = kHeadText;
  grid_->Look().arrow_type = 0;
  grid_->SetColumnResize(true);
  grid_->EnableCrossSelection(true, kGridCrossChanged);
  grid_->SetScrollListener(this);
  histogram_->SetType(1);
  histogram_->SetBkColor(RGB(0, 0, 0));
  histogram_->SetSelectMessage(this, kHistogramSelected);
  HandToGridComponent(this);
  SetCurrentPyGrid(this);
  Layout();
  return 0;
}

void CPyGridLoader::OnDestroy() {
  // The grid goes: nobody may reach it any more.
  HandToGridComponent(nullptr);
  ForgetPyGrid(this);
  if (reply_ != nullptr) {
    DeleteFetchDataHandle(reply_);
    reply_ = nullptr;
  }
  histogram_.reset();
  grid_.reset();
  corner_.reset();
  hbar_.reset();
  vbar_.reset();
}

void CPyGridLoader::OnSize(UINT /*type*/, int /*width*/, int /*height*/) { Layout(); }

void CPyGridLoader::Layout() {
  if (grid_ == nullptr) return;
  RECT client{};
  GetClientRect(&client);
  const int width = client.right - client.left, height = client.bottom - client.top;
  const int top = grid_only_ ? height : height * 3 / 4;
  const int bar = kLoaderBarThickness;
  const int inner_w = std::max(width - bar, 0), inner_h = std::max(top - bar, 0);
  grid_->CWnd::MoveWindow(0, 0, inner_w, inner_h);
  vbar_->CWnd::MoveWindow(inner_w, 0, std::min(bar, width), inner_h);
  hbar_->CWnd::MoveWindow(0, inner_h, inner_w, std::min(bar, top));
  corner_->CWnd::MoveWindow(inner_w, inner_h, std::min(bar, width), std::min(bar, top));
  if (grid_only_) {
    histogram_->CWnd::MoveWindow(0, 0, 0, 0);
    histogram_->ShowWindow(SW_HIDE);
  } else {
    histogram_->CWnd::MoveWindow(0, top, width, height - top);
    histogram_->ShowWindow(SW_SHOW);
  }
  SyncBars();
}

void CPyGridLoader::SyncBars() {
  if (grid_ == nullptr) return;
  const int rows = grid_->GetDataRowCount();
  const int cols = grid_->GetColumnCount() - grid_->GetFixedColumnCount();
  const CCellRange view = grid_->GetVisibleNonFixedCellRange();
  vbar_->SetScrollRange(0, std::max(rows - 1, 0));
  vbar_->SetPageSize(view.IsValid() ? view.max_row - view.min_row + 1 : 0);
  hbar_->SetScrollRange(0, std::max(cols - 1, 0));
  hbar_->SetPageSize(view.IsValid() ? view.max_col - view.min_col + 1 : 0);
  OnGridScrolled(grid_->GetScrollPos32().row, grid_->GetScrollPos32().col);
}

void CPyGridLoader::OnGridScrolled(int first_row, int first_col) {
  if (vbar_ == nullptr) return;
  vbar_->SetScrollPos32(first_row);
  hbar_->SetScrollPos32(first_col);
}

LRESULT CPyGridLoader::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (grid_ != nullptr && LOWORD(wparam) != SB_ENDSCROLL) {
        grid_->SetScrollPos32(hbar_->GetScrollPos32(), vbar_->GetScrollPos32());
      }
      return 0;
    case kGridCrossChanged:
      RefillHistogram(static_cast<int>(lparam));
      return 0;
    case kHistogramSelected:
      SelectDataRow(static_cast<int>(wparam));
      return 0;
    case kGridReplyReady:
      if (reinterpret_cast<IFetchData*>(lparam) != reply_) return 0;
      busy_ = false;
      reply_ready_ = true;
      CallScript(callback_);
      return 0;
    case kGridLayout: {
      RECT client{};
      GetClientRect(&client);
      if (!busy_ && client.right - client.left >= 1 && client.bottom - client.top >= 1) Layout();
      return 0;
    }
    case kGridUpdateQuotes:
      CallScript("OnUpdataHQ");
      RedrawGrid();
      return 0;
    case WM_NOTIFY: {
      const auto* note = reinterpret_cast<const NM_GRIDVIEW*>(lparam);
      if (grid_ != nullptr && note != nullptr && note->hdr.hwndFrom == grid_->GetSafeHwnd() &&
          note->hdr.code == NM_DBLCLK) {
        OpenRow(note->iRow, note->iColumn);
      }
      return 0;
    }
    default:
      return CWnd::WindowProc(message, wparam, lparam);
  }
}

BOOL CPyGridLoader::PreTranslateMessage(MSG* msg) {
  if (msg != nullptr && grid_ != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN &&
      msg->hwnd == grid_->GetSafeHwnd()) {
    const CCellID focus = grid_->GetFocusCell();
    if (focus.IsValid()) {
      OpenRow(focus.row, focus.col);
      return TRUE;
    }
  }
  return FALSE;
}

void CPyGridLoader::OpenRow(int grid_row, int grid_col) {
  if (grid_ == nullptr || grid_row < grid_->GetFixedRowCount() || grid_row >= grid_->GetRowCount()) return;
  const HQHead* head = grid_->GetHead(grid_col);
  if (head != nullptr && head->head_type == kPictureSummaryHead) {
    ScriptDialogRequest request;
    request.title = head->title;
    request.text = grid_->GetItemText(grid_row, grid_col);
    ShowScriptDialog(request);
    return;
  }
  if (code_column_ < 0 || GetSwitchFunc() == nullptr) return;
  const std::string code = grid_->GetItemText(grid_row, code_column_);
  if (code.size() == 6) ShowSecurityInHost(code);
}

void CPyGridLoader::RefillHistogram(int col) {
  if (grid_ == nullptr || histogram_ == nullptr) return;
  histogram_->ClearAll();
  const HQHead* head = grid_->GetHead(col);
  if (head == nullptr) return;
  histogram_->SetScale(head->histogram_scale > 0 ? head->histogram_scale : 1);
  histogram_->SetDecimals(head->histogram_decimals);
  histogram_->SetBottomLabels(head->histogram_bottom_labels);
  const int fixed = grid_->GetFixedRowCount();
  const int label_col = col == 0 ? std::min(1, grid_->GetColumnCount() - 1) : 0;
  for (int row = 0; row < grid_->GetDataRowCount(); ++row) {
    double value = 0;
    if (!grid_->GetCellValue(row, col, &value) && !ParseGridNumber(grid_->GetItemText(row + fixed, col), &value)) {
      value = std::nan("");  // shown as "--" with an empty bar
    }
    histogram_->AddItem(value, grid_->GetItemText(row + fixed, label_col));
  }
  const CCellID cross = grid_->GetCrossCell();
  histogram_->SetSelectedItem(cross.IsValid() ? cross.row - fixed : -1);
}

void CPyGridLoader::SelectDataRow(int row) {
  if (grid_ == nullptr || row < 0 || row >= grid_->GetDataRowCount()) return;
  const int fixed = grid_->GetFixedRowCount();
  const CCellID cross = grid_->GetCrossCell();
  const int col = cross.IsValid() ? cross.col : grid_->GetFixedColumnCount();
  grid_->SetCrossCell(row + fixed, col);
  grid_->SelectRow(row + fixed);
  grid_->SetFocusCell(row + fixed, col);
  const CCellRange view = grid_->GetVisibleNonFixedCellRange();
  if (!view.IsValid() || row + fixed < view.min_row || row + fixed > view.max_row) {
    grid_->SetScrollPos32(grid_->GetScrollPos32().col, row);
  }
}

bool CPyGridLoader::CallScript(const std::string& name) {
  if (!module_) return false;
  const CurrentPyGridScope current(this);
  const ScriptLock lock;
  std::string error;
  const ScriptRef function = GetScriptFunction(module_, name, error, kMaxScriptFunctionName);
  if (!function) {
    error_ = error;
    ReportError();
    return false;
  }
  PyObject* result = PyObject_CallNoArgs(function.get());
  if (result == nullptr) {
    error_ = Py_PrintAndGetErr();
    ReportError();
    return false;
  }
  Py_DECREF(result);
  return true;
}

void CPyGridLoader::ReportError() {
  if (debug_ && !error_.empty()) MessageBoxA(GetSafeHwnd(), error_.c_str(), kCaptionError, MB_OK);
}

bool CPyGridLoader::Load(const std::string& path) {
  code_column_ = -1;
  if (busy_) return false;
  path_ = path;
  // Both separators split: a host may hand a Windows-style path.
  const std::size_t slash = path.find_last_of("/\\");
  const std::string directory = slash == std::string::npos ? std::string() : path.substr(0, slash);
  std::string module = slash == std::string::npos ? path : path.substr(slash + 1);
  if (slash != std::string::npos) AddPyScriptPath(directory.empty() ? std::string("/") : directory);
  // Only the ending ".py" comes off: a name without it is the module's name.
  if (module.size() > 3 && module.compare(module.size() - 3, 3, ".py") == 0) module.resize(module.size() - 3);
  {
    const ScriptLock lock;
    module_.reset();
    if (module.empty()) return false;
    PyRun_SimpleString("import importlib\nimportlib.invalidate_caches()\n");
    ScriptRef loaded = ImportScriptModule(module, error_);
    if (loaded && debug_) loaded = ReloadScriptModule(loaded, error_);
    if (!loaded) {
      ReportError();
      return false;
    }
    module_ = std::move(loaded);
  }
  CallScript("InitGrid");
  return true;
}

bool CPyGridLoader::LoadScript(const std::string& path) { return Load(path); }

bool CPyGridLoader::LoadScriptEx(const std::string& path, bool grid_only) {
  if (busy_) return false;
  grid_only_ = grid_only;
  Layout();
  return Load(path);
}

void CPyGridLoader::SetOption(int value, int option) {
  if (option == 1001) {
    debug_ = value != 0;
  } else {
    option_value_ = value;
  }
}

void CPyGridLoader::ApplyAppearance(const PyGridLook& look) {
  if (grid_ == nullptr) return;
  grid_->SetHeadColors(look.head_bk, look.head_text);
  grid_->SetBodyColors(look.body_bk, look.body_text);
  grid_->SetGridBkColor(look.body_bk);
  orbe::FontSpec head;
  head.face = look.head_font_face;
  head.size = look.head_font_size;
  grid_->SetHeadFont(head);
  orbe::FontSpec body;
  body.face = look.body_font_face;
  body.size = look.body_font_size;
  grid_->SetBodyFont(body);
  // The bars take the look's colour scheme: the style number picks a bar colour.
  const COLORREF bar = look.scroll_bar_style == 0 ? CLR_DEFAULT : RGB(64, 64, 64);
  vbar_->SetBarColor(bar);
  hbar_->SetBarColor(bar);
}

void CPyGridLoader::MoveWindow(int left, int top, int right, int bottom, int repaint) {
  CWnd::MoveWindow(left, top, std::max(right - left, 0), std::max(bottom - top, 0), repaint);
}

void CPyGridLoader::PostLayout() { PostMessage(kGridLayout); }
void CPyGridLoader::PostUpdateHQ() { PostMessage(kGridUpdateQuotes); }

int CPyGridLoader::GetRowCount() { return grid_ != nullptr ? grid_->GetRowCount() : -1; }
int CPyGridLoader::GetColumnCount() { return grid_ != nullptr ? grid_->GetColumnCount() : -1; }
int CPyGridLoader::GetHeadRowCount() { return grid_ != nullptr ? grid_->GetFixedRowCount() : -1; }
int CPyGridLoader::GetDataRowCount() { return grid_ != nullptr ? grid_->GetDataRowCount() : -1; }

void CPyGridLoader::FocusGrid() {
  if (grid_ == nullptr) return;
  grid_->SetFocus();
  const int fixed = grid_->GetFixedRowCount();
  CCellID focus = grid_->GetFocusCell();
  if (!focus.IsValid() || focus.row < fixed) {
    const CCellRange view = grid_->GetVisibleNonFixedCellRange();
    if (!view.IsValid()) return;
    focus = {view.min_row, view.min_col};
  }
  grid_->SetFocusCell(focus.row, focus.col);
  grid_->SelectRow(focus.row);
}

std::string CPyGridLoader::GetFocusRowText() {
  if (grid_ == nullptr) return std::string();
  const CCellID focus = grid_->GetFocusCell();
  if (!focus.IsValid() || focus.row < grid_->GetFixedRowCount()) return std::string();
  std::string text;
  for (int col = 0; col < grid_->GetColumnCount(); ++col) {
    if (col > 0) text += '\t';
    text += grid_->GetItemText(focus.row, col);
  }
  return text;
}

// --- Data requests ---

bool CPyGridLoader::FetchData(const std::string& callback, const std::string& sql, int option_type,
                              const std::string& option_text) {
  if (busy_ || reply_ == nullptr) return false;
  reply_->ClearSqlOption();
  if (!option_text.empty() && option_type >= 1 && option_type <= 255) {
    reply_->AddSqlOption(static_cast<BYTE>(option_type), option_text.c_str());
  }
  std::string block(kMaxOptionBlock, '\0');
  const WORD length = reply_->GetSqlOptionBuffer(block.data(), kMaxOptionBlock);
  reply_->ClearSqlOption();
  reply_ready_ = false;
  field_name_.clear();
  if (reply_->FetchData(sql.c_str(), length > 0 ? block.data() : nullptr, length, FALSE) == FALSE) return false;
  busy_ = true;
  callback_ = callback;
  return true;
}

int CPyGridLoader::GetRecordCount() { return reply_ready_ && reply_ != nullptr ? reply_->GetRecordCount() : 0; }

const tagMemFieldInfo* CPyGridLoader::FieldOf(const std::string& name) {
  if (!reply_ready_ || reply_ == nullptr) return nullptr;
  if (name == field_name_ && !field_name_.empty()) return &field_;
  field_name_.clear();
  if (reply_->GetFieldInfo(name.c_str(), &field_) == FALSE) return nullptr;
  field_name_ = name;
  return &field_;
}

std::string CPyGridLoader::GetFieldAsString(int record, const std::string& field) {
  const tagMemFieldInfo* info = FieldOf(field);
  if (info == nullptr || record < 0 || record >= GetRecordCount()) return std::string();
  std::string text(kMaxFieldText + 1, '\0');
  if (reply_->GetRecordAsString(record, info, text.data(), kMaxFieldText + 1) == FALSE) return std::string();
  text.resize(std::strlen(text.c_str()));
  return text;
}

int CPyGridLoader::GetFieldAsInt(int record, const std::string& field) {
  const tagMemFieldInfo* info = FieldOf(field);
  int value = 0;
  if (info == nullptr || record < 0 || record >= GetRecordCount() ||
      reply_->GetRecordAsInt(record, info, &value) == FALSE) {
    return kAbsentInt;
  }
  return value;
}

double CPyGridLoader::GetFieldAsDouble(int record, const std::string& field) {
  const tagMemFieldInfo* info = FieldOf(field);
  double value = 0;
  if (info == nullptr || record < 0 || record >= GetRecordCount() ||
      reply_->GetRecordAsDouble(record, info, &value) == FALSE) {
    return 0.0;
  }
  return value;
}

void CPyGridLoader::ReleaseReply() {
  reply_ready_ = false;
  field_name_.clear();
}

// --- The grid ---

void CPyGridLoader::RedrawGrid() {
  if (grid_ == nullptr) return;
  grid_->Invalidate();
  SyncBars();
}

void CPyGridLoader::ClearGrid() {
  if (grid_ == nullptr) return;
  grid_->ClearAll();
  histogram_->ClearAll();
  code_column_ = -1;
  SyncBars();
}

bool CPyGridLoader::SortGrid(int col, bool ascending) { return grid_ != nullptr && grid_->SortItems(col, ascending); }

void CPyGridLoader::ResizeZeroWidthColumns() {
  if (grid_ == nullptr) return;
  for (int col = 0; col < grid_->GetColumnCount(); ++col) {
    if (grid_->GetColumnWidth(col) != 0) continue;
    grid_->SetColumnWidth(col, 1);  // shown again, then fitted to its texts
    grid_->AutoSizeColumn(col, GVS_BOTH);
  }
}

bool CPyGridLoader::SetFixedColumnCount(int count) {
  return grid_ != nullptr && count >= 0 && count <= grid_->GetColumnCount() && grid_->SetFixedColumnCount(count);
}

bool CPyGridLoader::SetFixedRowCount(int count) {
  // The heading row is the quote grid's own: at least one fixed row.
  return grid_ != nullptr && count >= 1 && count <= grid_->GetRowCount() && grid_->SetFixedRowCount(count);
}

int CPyGridLoader::InsertHead(const std::string& name, int width, int align, int decimals, double scale, int numeric,
                              int head_type, int histogram_decimals, double histogram_scale, int bottom_labels,
                              int code_column, int col) {
  if (grid_ == nullptr) return -1;
  HQHead head;
  head.title = CutText(name, kMaxHeadName);
  head.width = width > 0 ? width : static_cast<int>(head.title.size()) * 7 + 16;
  head.align = align == 0 ? CellAlign::kLeft : align == 2 ? CellAlign::kCenter : CellAlign::kRight;
  head.decimals = std::clamp(decimals, 0, 10);
  head.scale = scale > 0 && std::isfinite(scale) ? scale : 1;
  head.numeric = numeric != 0;
  head.head_type = head_type;
  head.histogram_decimals = std::clamp(histogram_decimals, 0, 10);
  head.histogram_scale = histogram_scale > 0 && std::isfinite(histogram_scale) ? histogram_scale : 1;
  head.histogram_bottom_labels = bottom_labels != 0;
  const int at = grid_->InsertHead(col, head);
  if (code_column_ >= at) ++code_column_;  // the columns after it moved right
  if (code_column != 0) code_column_ = at;
  SyncBars();
  return at;
}

int CPyGridLoader::InsertHeadSimple(const std::string& name, int width, int numeric) {
  return InsertHead(name, width, numeric != 0 ? 1 : 0, numeric != 0 ? 2 : 0, 1, numeric, 0, 2, 1, 1, 0, -1);
}

bool CPyGridLoader::EnsureRow(int row) {
  if (grid_ == nullptr || row < 0 || row >= kMaxDataRows) return false;
  if (row >= grid_->GetDataRowCount()) {
    grid_->SetDataRowCount(row + 1);
    SyncBars();
  }
  return true;
}

bool CPyGridLoader::SetCellText(int row, int col, const std::string& text) {
  return EnsureRow(row) && grid_->SetCellData(row, col, text);
}
bool CPyGridLoader::SetCellTextColor(int row, int col, const std::string& text, COLORREF color) {
  return EnsureRow(row) && grid_->SetCellData(row, col, text, color);
}
bool CPyGridLoader::SetNumber(int row, int col, double value, COLORREF color) {
  return EnsureRow(row) && grid_->SetCellData(row, col, value, color);
}
bool CPyGridLoader::SetCellInt(int row, int col, int value) { return SetNumber(row, col, value, CLR_DEFAULT); }
bool CPyGridLoader::SetCellIntColor(int row, int col, int value, COLORREF color) {
  return SetNumber(row, col, value, color);
}
bool CPyGridLoader::SetCellDouble(int row, int col, double value) { return SetNumber(row, col, value, CLR_DEFAULT); }
bool CPyGridLoader::SetCellDoubleColor(int row, int col, double value, COLORREF color) {
  return SetNumber(row, col, value, color);
}
bool CPyGridLoader::SetCellInt64(int row, int col, std::int64_t value) {
  return SetNumber(row, col, static_cast<double>(value), CLR_DEFAULT);
}
bool CPyGridLoader::SetCellDate(int row, int col, int yyyymmdd) {
  // An impossible date is refused rather than shown as another day.
  if (!ParseDateText(std::to_string(yyyymmdd)).has_value()) return false;
  return EnsureRow(row) && grid_->SetCellData(row, col, DateText(yyyymmdd));
}
bool CPyGridLoader::UpdateCellDouble(int row, int col, double value) {
  return grid_ != nullptr && grid_->UpdateCellData(row, col, value);
}

std::string CPyGridLoader::GetCellText(int row, int col) {
  return grid_ != nullptr ? grid_->GetItemText(row, col) : std::string();
}
std::string CPyGridLoader::GetDataCellText(int row, int col) {
  if (grid_ == nullptr || row < 0) return std::string();
  return grid_->GetItemText(row + grid_->GetFixedRowCount(), col);
}

int CPyGridLoader::FindRow(int col, const std::string& key) {
  if (grid_ == nullptr || col < 0 || col >= grid_->GetColumnCount()) return -1;
  const int fixed = grid_->GetFixedRowCount();
  for (int row = 0; row < grid_->GetDataRowCount(); ++row) {
    if (grid_->GetItemText(row + fixed, col) == key) return row;
  }
  return -1;
}

// --- The host ---

std::string CPyGridLoader::HostQuote(const std::string& code, int field) { return HostQuoteOnMarket(code, -1, field); }

std::string CPyGridLoader::HostQuoteOnMarket(const std::string& code, int market, int field) {
  if (code.empty() || field < 0 || field > 20 || !HostQuoteKnown(code, market)) return std::string();
  return Format("%.15g", HostQuoteField(code, market, field));
}

std::string CPyGridLoader::HostBoardCodes(const std::string& board) {
  const DataFuncProc host = GetDataFunc();
  if (host == nullptr || board.empty()) return std::string();
  std::vector<std::string> codes;
  for (const int set : {int{kHostQuoteBoards}, int{kHostConceptBoards}, int{kHostCustomBoards}}) {
    codes = ReadBoardCodes(host, set, board, kBoardStockCodeLength);
    if (!codes.empty()) break;
  }
  std::string joined;
  for (const std::string& code : codes) joined += (joined.empty() ? "" : ",") + code;
  return joined;
}

std::string CPyGridLoader::HostSecurityText(const std::string& code, int which) {
  HostSecurityAttributes attributes{};
  if (code.empty() || !HostSecurity(code, attributes)) return std::string();
  switch (which) {
    case 0:
      return std::string(attributes.block, strnlen(attributes.block, sizeof attributes.block));
    case 1:
      return std::to_string(attributes.price_decimals);
    case 2:
      return std::to_string(attributes.kind);
    default:
      return std::string();
  }
}

void CPyGridLoader::DebugMessageBox(const std::string& text) {
  if (debug_) MessageBoxA(GetSafeHwnd(), text.c_str(), kCaptionInfo, MB_OK);
}

}  // namespace orbe::script

using orbe::script::CPyGridLoader;

VCFGFunc* CreatePyGridWnd(CWnd* parent, DWORD style, UINT id, DWORD ex_style) {
  auto loader = std::make_unique<CPyGridLoader>();
  if (!loader->CreateLoader(parent, style, id, ex_style)) return nullptr;
  return loader.release();
}

void DestroyPyGridWnd(VCFGFunc* grid) {
  auto* loader = dynamic_cast<CPyGridLoader*>(grid);
  if (loader == nullptr) return;
  const std::unique_ptr<CPyGridLoader> owned(loader);  // made by CreatePyGridWnd
  owned->DestroyWindow();
}
