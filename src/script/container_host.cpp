// Utilities and host services of IContainerFun: texts, files, the object and
// freeze stores, message boxes and dialogs, the timer, and the calls of the
// host's switch, data and callback functions.
#include "script/python_api.h"

#include "orbe/script/container_fun.h"

#include <glob.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/env.h"
#include "orbe/host/host_records.h"
#include "orbe/platform/clipboard.h"
#include "orbe/platform/message_box.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window.h"
#include "orbe/script/freeze_store.h"
#include "orbe/script/script_dialogs.h"
#include "orbe/widgets/kvx_functions.h"
#include "script/container_data.h"
#include "script/host_quote.h"
#include "script/py_ptr.h"
#include "script/script_text.h"

using namespace orbe;

namespace {

constexpr char kCaptionPrompt[] = "\xcc\xe1\xca\xbe";  // "提示"
constexpr char kCaptionInfo[] = "\xd0\xc5\xcf\xa2";    // "信息"
constexpr char kNothingToSave[] =                       // "没有数据需要保存"
    "\xc3\xbb\xd3\xd0\xca\xfd\xbe\xdd\xd0\xe8\xd2\xaa\xb1\xa3\xb4\xe6";
constexpr char kSaveStockBlock[] = "SAVE_STOCK_BLOCK";

constexpr std::size_t kMaxConvertedText = 10239;
constexpr std::size_t kMaxUrlBytes = 1023;
constexpr short kMaxDayBars = 3000;
constexpr int kHostTextBuffer = 64;
constexpr int kKeyboardGuideSize = 60;
constexpr unsigned char kAnyMarket = 0xFF;

// Switch kinds and sub-kinds of the host services.
struct SwitchCall {
  int kind;
  int sub_kind;
};
constexpr SwitchCall kQuoteBoardCall{kSwitchQuoteBoard, 0};
constexpr SwitchCall kShowSecurityCall{kSwitchShowSecurity, 0};
constexpr SwitchCall kDownloadDaysCall{kSwitchDownloadDays, 0};
constexpr SwitchCall kFlushWaitingCall{kSwitchFlushWaiting, 1};
constexpr SwitchCall kFlushCall{kSwitchFlush, 6};
constexpr SwitchCall kOpenUrlCall{kSwitchOpenUrl, 2};
constexpr SwitchCall kSaveBoardCall{kSwitchSaveBoard, 0};
constexpr int kCallbackKeyboardGuide = 11;
constexpr int kCallbackInfoDialog = 12;

HostValue7 CodeValue(const std::string& code) {
  HostValue7 value{};
  std::memcpy(value.bytes, code.data(), std::min<std::size_t>(code.size(), 6));
  return value;
}

HostValue7 MarketValue(int market) {
  HostValue7 value{};
  value.bytes[0] = market < 0 || market > 0xFE ? kAnyMarket : static_cast<unsigned char>(market);
  return value;
}

// The host's answer to a request about a security: a size query, then the
// fetch into a zeroed buffer 1024 bytes longer; only the bytes it reports.
std::string AskHost(int code, const HostValue7& first, const HostValue7& second, short count = 1) {
  const DataFuncProc host = GetDataFunc();
  if (host == nullptr) return std::string();
  const int size = host(nullptr, -1, code, nullptr, -1, first, second, 0, 0);
  if (size <= 0 || size > (64 << 20)) return std::string();
  std::string buffer(static_cast<std::size_t>(size) + kHostAnswerSlack, '\0');
  const int written = host(nullptr, -1, code, buffer.data(), count, first, second, 0, 0);
  if (written <= 0) return std::string();
  buffer.resize(std::min<std::size_t>(static_cast<std::size_t>(written), buffer.size()));
  return buffer;
}

int Switch(const void* target, int market, const void* data, int length, SwitchCall call) {
  const SwitchFuncProc host = GetSwitchFunc();
  return host != nullptr ? host(target, market, data, length, call.kind, call.sub_kind, 0) : 0;
}

// The security's code as the switch function takes it: 7 bytes, zero-filled.
int SwitchForSecurity(const std::string& code, int market, SwitchCall call) {
  const HostValue7 target = CodeValue(code);
  return Switch(target.bytes, market, nullptr, -1, call);
}

template <typename Record>
bool ReadRecord(const std::string& answer, Record& record) {
  if (answer.size() < sizeof record) return false;
  std::memcpy(&record, answer.data(), sizeof record);
  return true;
}

bool SecurityAttributes(const std::string& code, int market, HostSecurityAttributes& attributes) {
  return ReadRecord(AskHost(kHostSecurityAttributes, CodeValue(code), MarketValue(market)), attributes);
}

// The quote record's fields in order: GetStockData takes the number,
// GetStockData1 the byte offset of a field.
struct QuoteField {
  std::size_t offset;
  char type;  // 'h' int16, 'f' float, 'd' double, 'i' int32
};
constexpr QuoteField kQuoteFields[] = {
    {offsetof(Hq104, state), 'h'},          {offsetof(Hq104, previous_close), 'f'},
    {offsetof(Hq104, open), 'f'},           {offsetof(Hq104, high), 'f'},
    {offsetof(Hq104, low), 'f'},            {offsetof(Hq104, latest), 'f'},
    {offsetof(Hq104, average), 'f'},        {offsetof(Hq104, volume), 'd'},
    {offsetof(Hq104, amount), 'd'},         {offsetof(Hq104, change), 'f'},
    {offsetof(Hq104, change_percent), 'f'}, {offsetof(Hq104, range_percent), 'f'},
    {offsetof(Hq104, turnover_percent), 'f'}, {offsetof(Hq104, volume_ratio), 'f'},
    {offsetof(Hq104, dynamic_pe), 'f'},     {offsetof(Hq104, bid_ask_ratio), 'f'},
    {offsetof(Hq104, last_trade_lots), 'i'}, {offsetof(Hq104, sell_volume_lots), 'i'},
    {offsetof(Hq104, buy_volume_lots), 'i'}, {offsetof(Hq104, market_value), 'd'},
    {offsetof(Hq104, float_market_value), 'd'},
};

template <typename T>
double ReadAs(const std::string& record, std::size_t offset) {
  T value{};
  std::memcpy(&value, record.data() + offset, sizeof value);
  return static_cast<double>(value);
}

double QuoteValue(const std::string& code, int market, const QuoteField* field) {
  if (field == nullptr) return 0;
  const std::string record = market < 0 ? AskHost(kHostQuoteRecord, CodeValue(code), HostValue7{})
                                        : AskHost(kHostQuoteRecordByMarket, CodeValue(code), MarketValue(market));
  if (record.size() < sizeof(Hq104)) return 0;
  switch (field->type) {
    case 'h': return ReadAs<std::int16_t>(record, field->offset);
    case 'f': return ReadAs<float>(record, field->offset);
    case 'i': return ReadAs<std::int32_t>(record, field->offset);
    default: return ReadAs<double>(record, field->offset);
  }
}

}  // namespace

namespace orbe::script {

double HostQuoteField(const std::string& code, int market, int field) {
  const bool known = field >= 0 && static_cast<std::size_t>(field) < std::size(kQuoteFields);
  return QuoteValue(code, market, known ? &kQuoteFields[field] : nullptr);
}

bool HostQuoteKnown(const std::string& code, int market) {
  const std::string record = market < 0 ? AskHost(kHostQuoteRecord, CodeValue(code), HostValue7{})
                                        : AskHost(kHostQuoteRecordByMarket, CodeValue(code), MarketValue(market));
  return record.size() >= sizeof(Hq104);
}

bool HostSecurity(const std::string& code, HostSecurityAttributes& attributes) {
  return SecurityAttributes(code, -1, attributes);
}

int ShowSecurityInHost(const std::string& code) { return SwitchForSecurity(code, -1, kShowSecurityCall); }

}  // namespace orbe::script

namespace {

// The host's text answer split at "|" into exactly N items.
template <std::size_t N>
std::vector<std::string> HostItems(int code) {
  const std::string answer = AskHost(code, HostValue7{}, HostValue7{});
  const std::string text(answer.c_str(), strnlen(answer.c_str(), std::min<std::size_t>(answer.size(), kHostTextSize)));
  std::vector<std::string> items;
  for (std::size_t start = 0; items.size() < N && start <= text.size();) {
    const std::size_t bar = std::min(text.find('|', start), text.size());
    items.push_back(text.substr(start, bar - start));
    start = bar + 1;
  }
  items.resize(N);
  return items;
}


// The keyboard guide of the host: it receives the typed text and fills the
// chosen item.
std::tuple<std::string, int> KeyboardGuide(const std::string& text) {
  const CallbackFuncProc host = GetCallbackFunc();
  if (host == nullptr) return {std::string(), 0};
  const HostValue7 value = CodeValue(text);
  char buffer[kHostTextBuffer] = {};
  int length = kHostTextBuffer;
  const int result = host(kCallbackKeyboardGuide, &value, kKeyboardGuideSize, buffer, &length, 0);
  const std::size_t kept = std::clamp(length, 0, kHostTextBuffer);
  return {std::string(buffer, strnlen(buffer, kept)), result};
}

}  // namespace

// --- Texts and files ---

std::string IContainerFun::Version() { return GetThisMoudleVersion(); }

std::string IContainerFun::DisplayForm(const std::string& text) {
  return text.empty() || text.size() > kMaxConvertedText ? std::string() : _F(text);
}

std::string IContainerFun::StoredForm(const std::string& text) {
  return text.empty() || text.size() > kMaxConvertedText ? std::string() : _J(text);
}

int IContainerFun::GetPtrAsLong() { return container_id_; }

std::string IContainerFun::Platform() { return "LINUX"; }

int IContainerFun::IsFileExist(const std::string& pattern) {
  if (pattern.empty()) return 0;
  std::string path = pattern;
  std::replace(path.begin(), path.end(), '\\', '/');
  glob_t found{};
  const int result = ::glob(path.c_str(), GLOB_NOSORT, nullptr, &found);
  const bool any = result == 0 && found.gl_pathc > 0;
  ::globfree(&found);
  return any ? 1 : 0;
}

std::tuple<std::string, int> IContainerFun::StrLeftTrim(const std::string& text, int bytes) {
  if (bytes <= 0) return {std::string(), 0};
  std::string part = CutGbk(text, static_cast<std::size_t>(bytes));
  const int length = static_cast<int>(part.size());
  return {std::move(part), length};
}

// --- Clipboard ---

int IContainerFun::AddText2Clipboard(const std::string& text) { return SetClipboardText(text) ? 1 : 0; }
std::string IContainerFun::GetTextFromClipboard() { return GetClipboardText(); }

// --- Object store ---

int IContainerFun::SaveObject(const std::string& name, _object* object) {
  auto& objects = data_->objects;
  if (object == nullptr || objects.count(name) != 0) return 0;
  objects.emplace(name, ScriptRef(Py_NewRef(object)));
  return 1;
}

int IContainerFun::FindObject(const std::string& name) {
  const auto found = data_->objects.find(name);
  return found != data_->objects.end() && found->second ? 1 : 0;
}

ScriptRef IContainerFun::PickObject(const std::string& name) {
  auto& objects = data_->objects;
  const auto found = objects.find(name);
  if (found == objects.end()) return ScriptRef();
  ScriptRef object = std::move(found->second);
  objects.erase(found);
  return object;
}

// --- Freeze store ---

int IContainerFun::FreezeSet(const std::string& group, const std::string& key, const std::string& value) {
  return FreezeStore::Module().Set(group, key, value) ? 1 : 0;
}

std::tuple<int, std::string> IContainerFun::FreezeGet(const std::string& group, const std::string& key) {
  std::optional<std::string> value = FreezeStore::Module().Get(group, key);
  if (!value) return {0, std::string()};
  return {1, std::move(*value)};
}

int IContainerFun::FreezeDel(const std::string& group, const std::string& key) {
  // 0 tells the script that the group went with its last key.
  return FreezeStore::Module().Remove(group, key) == FreezeStore::Removal::kGroupRemoved ? 0 : 1;
}

// --- Window, session and look ---

std::tuple<int, int> IContainerFun::GetDesktopSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int IContainerFun::GetScrollBarType() { return KVXGetScrollBarType(); }
void IContainerFun::SetScrollBarType(int type) { KVXSetScrollBarType(type); }

void IContainerFun::SetCommInfoBlock(int first, int second, int third) {
  if (OrbeClientSession* session = Session()) {
    session->SetInfoBlock(static_cast<unsigned char>(first), static_cast<unsigned char>(second),
                          static_cast<unsigned char>(third));
  }
}

int IContainerFun::ChangeHost(int host) {
  if (host != 0 && host != 1) return 0;
  OrbeClientSession* session = host == 0 ? GetGlobalMainOrbeClientSession() : GetGlobalSubOrbeClientSession();
  if (session == nullptr) return 0;
  main_session_ = host == 0;
  return 1;
}

int IContainerFun::IsActiveWnd() {
  const HWND own = ContainerWindow();
  for (CWnd* window = CWnd::GetFocus(); window != nullptr; window = window->GetParent()) {
    if (window->GetSafeHwnd() == own) return 1;
  }
  return 0;
}

std::string IContainerFun::PrivatePath() { return ::GetPrivPath(); }
std::string IContainerFun::CommonConfigPath() { return ::GetCommConfigPath(); }

std::string IContainerFun::GetCachePath() {
  const OrbeClientSession* session = Session();
  return session != nullptr ? session->GetCacheDirectory() : std::string();
}

int IContainerFun::GetConnectStat() {
  const OrbeClientSession* session = Session();
  ICwRequestSession* requests = session != nullptr ? session->GetSession() : nullptr;
  return requests != nullptr && requests->GetConnectState() == kCwStateConnected ? 1 : 0;
}

// --- Debug mode, message boxes and dialogs ---

void IContainerFun::SetDebugMode(int on) { debug_mode_ = on != 0; }

void IContainerFun::DebugMessage(const std::string& text) {
  if (debug_mode_) MessageBoxA(ContainerWindow(), _F(text).c_str(), kCaptionInfo, MB_OK);
}

int IContainerFun::ShowMessageBox(const std::string& text, int type) {
  return MessageBoxA(ContainerWindow(), text.c_str(), kCaptionPrompt, static_cast<UINT>(type));
}

int IContainerFun::KVXMessageBox(const std::string& text, const std::string& caption, int type) {
  return MessageBoxA(ContainerWindow(), text.c_str(), caption.c_str(), static_cast<UINT>(type));
}

void IContainerFun::DlgShowText(const std::string& title, const std::string& text, int width, int height) {
  ShowScriptDialog({ScriptDialogKind::kText, 0, title, text, width, height});
}

std::string IContainerFun::ShowspecialDlg(int kind, const std::string& title, const std::string& text) {
  return ShowScriptDialog({ScriptDialogKind::kSpecial, kind, title, text, 0, 0});
}

std::tuple<std::string, std::string> IContainerFun::OpenCFileDialog(const std::string& extensions) {
  std::string path = CwFileUtil::OpenCFileDialog(extensions);
  std::string name = FileNamePart(path);
  return {std::move(path), std::move(name)};
}

std::tuple<std::string, std::string> IContainerFun::SaveCFileDialog(const std::string& extensions,
                                                                    const std::string& file_name) {
  std::string path = CwFileUtil::SaveCFileDialog(extensions, file_name);
  std::string name = FileNamePart(path);
  return {std::move(path), std::move(name)};
}

std::string IContainerFun::BrowseForFolder() { return CwFileUtil::BrowseForFolder(); }

// --- Timer and window switches ---

void IContainerFun::RegisterTimer(int seconds) {
  UnRegisterTimer();
  const HWND window = ContainerWindow();
  const long long ms = seconds <= 0 ? 100 : std::min<long long>(static_cast<long long>(seconds) * 1000, INT32_MAX);
  if (window == nullptr || SetTimer(window, kContainerTimerId, static_cast<UINT>(ms), nullptr) == 0) return;
  data_->timer = true;
  data_->timer_window = window;
}

void IContainerFun::UnRegisterTimer() {
  if (data_->timer) KillTimer(data_->timer_window, kContainerTimerId);
  data_->timer = false;
}

void IContainerFun::EnableUnInitContainer(int on) { uninit_enabled_ = on != 0; }
void IContainerFun::EnableKeyDownMsg(int on) { key_down_enabled_ = on != 0; }
void IContainerFun::SetEnableKVXKeyBoardShortcut(int on) { keyboard_shortcut_ = on != 0; }

// --- The owner's messages ---

void IContainerFun::SendOwnerMessage(const std::string& first, const std::string& second, const std::string& name,
                                     const std::string& value) {
  if (name != kSaveStockBlock) {
    if (message_target_ != nullptr) message_target_->OnContainerMessage(first, second, name, value);
    return;
  }
  if (GetSwitchFunc() == nullptr) return;
  std::string records;
  for (const std::string& code : CwFileUtil::SplitStr(value, ",")) {
    char record[7] = {static_cast<char>(0xFF)};
    std::memcpy(record + 1, code.data(), std::min<std::size_t>(code.size(), 6));
    records.append(record, sizeof record);
  }
  if (records.empty()) {
    MessageBoxA(ContainerWindow(), kNothingToSave, kCaptionPrompt, MB_OK);
    return;
  }
  Switch(nullptr, -1, records.data(), static_cast<int>(records.size()), kSaveBoardCall);
}

std::string IContainerFun::GetOwnerMessage(const std::string& first, const std::string& second,
                                           const std::string& name, const std::string& value) {
  return message_target_ != nullptr ? message_target_->OnContainerQuery(first, second, name, value) : std::string();
}

// --- The host's switch function ---

void IContainerFun::GotoHQBJ() { Switch(nullptr, -1, nullptr, -1, kQuoteBoardCall); }
void IContainerFun::GotoF5Wnd(const std::string& code) { SwitchForSecurity(code, -1, kShowSecurityCall); }
void IContainerFun::GotoF5Wnd1(const std::string& code, int market) {
  SwitchForSecurity(code, market, kShowSecurityCall);
}
void IContainerFun::KVX_DownDayFile(const std::string& code, int market) {
  SwitchForSecurity(code, market, kDownloadDaysCall);
}
void IContainerFun::Syn_FlushHQ(const std::string& code) { SwitchForSecurity(code, -1, kFlushWaitingCall); }
void IContainerFun::Asyn_FlushHQ(const std::string& code) { SwitchForSecurity(code, -1, kFlushCall); }

int IContainerFun::KVX_OpenURL(const std::string& url) {
  if (url.empty() || url.size() > kMaxUrlBytes) return 0;
  return Switch(url.c_str(), -1, nullptr, -1, kOpenUrlCall) != 0 ? 1 : 0;
}

// --- The host's data function ---

double IContainerFun::GetStockData(const std::string& code, int market, int field) {
  return script::HostQuoteField(code, market, field);
}

double IContainerFun::GetStockData1(const std::string& code, int market, int offset) {
  const auto* field = std::find_if(std::begin(kQuoteFields), std::end(kQuoteFields), [offset](const QuoteField& f) {
    return static_cast<int>(f.offset) == offset;
  });
  return QuoteValue(code, market, field != std::end(kQuoteFields) ? field : nullptr);
}

std::vector<ScriptDayBar> IContainerFun::KVX_GetStockDayData(const std::string& code, int market, int first_date,
                                                            int last_date) {
  const std::string answer = AskHost(kHostDayBars, CodeValue(code), MarketValue(market), kMaxDayBars);
  std::vector<ScriptDayBar> bars;
  for (std::size_t at = 0; at + sizeof(HostDayBar) <= answer.size() && bars.size() < kMaxDayBars;
       at += sizeof(HostDayBar)) {
    HostDayBar bar{};
    std::memcpy(&bar, answer.data() + at, sizeof bar);
    const int date = static_cast<int>(bar.date);
    if ((first_date > 0 && date < first_date) || (last_date > 0 && date > last_date)) continue;
    // Read by value: the packed record's members may not be aligned.
    bars.emplace_back(date, static_cast<double>(bar.open), static_cast<double>(bar.high),
                      static_cast<double>(bar.low), static_cast<double>(bar.close),
                      static_cast<double>(bar.volume), static_cast<double>(bar.amount));
  }
  return bars;
}

std::string IContainerFun::KVX_Stock_Get_KVXBlock(const std::string& code) {
  HostSecurityAttributes attributes{};
  if (!SecurityAttributes(code, -1, attributes)) return std::string();
  return FieldText(attributes.block);
}

int IContainerFun::KVX_Stock_Get_Decimal(const std::string& code, int market) {
  HostSecurityAttributes attributes{};
  return SecurityAttributes(code, market, attributes) ? attributes.price_decimals : 0;
}

int IContainerFun::KVX_Stock_Get_HSType(const std::string& code, int market) {
  HostSecurityAttributes attributes{};
  return SecurityAttributes(code, market, attributes) ? attributes.kind : 0;
}

ScriptRef IContainerFun::KVX_Stock_Get_Ext(const std::string& code, int market) {
  HostSecurityAttributes attributes{};
  if (!SecurityAttributes(code, market, attributes)) return ScriptRef();
  PyPtr block(NewScriptText(FieldText(attributes.block)));
  if (!block) return ScriptRef();
  return ScriptRef(Py_BuildValue("{s:i,s:i,s:i,s:O}", "market", attributes.market, "decimal",
                                 attributes.price_decimals, "kind", attributes.kind, "block", block.get()));
}

std::tuple<std::string, std::string, std::string, std::string, std::string, std::string, std::string, std::string>
IContainerFun::GetKVXLoginInfo() {
  std::vector<std::string> items = HostItems<8>(kHostLoginName);
  return {items[0], items[1], items[2], items[3], items[4], items[5], items[6], items[7]};
}

std::tuple<std::string, std::string, std::string, std::string> IContainerFun::GetKVXJYInfo() {
  std::vector<std::string> items = HostItems<4>(kHostTradingAccount);
  return {items[0], items[1], items[2], items[3]};
}

// --- The host's callback function ---

std::tuple<std::string, int> IContainerFun::ShowKVXKVXKeyBoardGuy(const std::string& text, int, int, int, int) {
  return KeyboardGuide(text);
}

std::tuple<std::string, int> IContainerFun::ShowKVXKVXKeyBoardGuy2(const std::string& text, int, int, int, int,
                                                                   int) {
  return KeyboardGuide(text);
}

void IContainerFun::ShowKVXInfoDlg(int, int, const std::string& code, const std::string&, const std::string&,
                                   const std::string&) {
  const CallbackFuncProc host = GetCallbackFunc();
  if (host == nullptr) return;
  const HostValue7 value = CodeValue(code);
  char buffer[kHostTextBuffer] = {};
  int length = kHostTextBuffer;
  host(kCallbackInfoDialog, &value, kKeyboardGuideSize, buffer, &length, 0);
}
