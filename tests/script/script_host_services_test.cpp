// The host services, utilities and container messages of the script object
// over a host whose callbacks record what they were asked and answer from a
// fixed quote, attribute and bar table; no data service is involved.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "orbe/env.h"
#include "orbe/host/host_records.h"
#include "orbe/platform/clipboard.h"
#include "orbe/platform/file_dialog.h"
#include "orbe/platform/message_box.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window.h"
#include "orbe/script/script_dialogs.h"
#include "orbe/script/subscriptions.h"
#include "support/script_harness.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

constexpr char kBankAbbr[] = "\xc6\xd6\xb7\xa2\xd2\xf8\xd0\xd0";  // GBK of the abbreviation below
constexpr char kBankAbbrUtf8[] = "\xe6\xb5\xa6\xe5\x8f\x91\xe9\x93\xb6\xe8\xa1\x8c";

// What the fake host was asked, one line per call.
std::vector<std::string> g_host_log;

std::string Code(const HostValue7& value) {
  return std::string(reinterpret_cast<const char*>(value.bytes), strnlen(reinterpret_cast<const char*>(value.bytes), 7));
}

// The answer of the fake host's data function for a request.
std::string Answer(int code, const HostValue7& first, const HostValue7& second) {
  if (code == orbe::kHostQuoteRecord || (code == orbe::kHostQuoteRecordByMarket && second.bytes[0] == 1)) {
    if (Code(first) != "600000") return "";
    orbe::Hq104 quote{};
    quote.state = 0;
    quote.previous_close = 10.0f;
    quote.latest = 10.5f;
    quote.volume = 123456.0;
    quote.market_value = 9.5e10;
    quote.last_trade_lots = 42;
    return std::string(reinterpret_cast<const char*>(&quote), sizeof quote);
  }
  if (code == orbe::kHostSecurityAttributes && Code(first) == "600000") {
    orbe::HostSecurityAttributes attributes{1, 2, 1, {}};
    std::memcpy(attributes.block, "main", 4);
    return std::string(reinterpret_cast<const char*>(&attributes), sizeof attributes);
  }
  const auto text = [](std::string value) {
    value.resize(orbe::kHostTextSize, '\0');
    return value;
  };
  if (code == orbe::kHostLoginName) return text("trader|531531|desk");
  if (code == orbe::kHostTradingAccount) return text("acct|broker");
  if (code == orbe::kHostDayBars && Code(first) == "600000") {
    std::string bars;
    for (std::uint32_t date : {20240102u, 20240103u, 20240104u}) {
      const orbe::HostDayBar bar{date, 1.0f, 2.0f, 0.5f, 1.5f, 100.0, 150.0};
      bars.append(reinterpret_cast<const char*>(&bar), sizeof bar);
    }
    return bars;
  }
  return "";
}

int FakeData(int*, int, int code, void* buffer, short count, HostValue7 first, HostValue7 second, int, int) {
  const std::string answer = Answer(code, first, second);
  if (buffer == nullptr) return static_cast<int>(answer.size());
  g_host_log.push_back("data " + std::to_string(code) + " " + Code(first) + " " + std::to_string(second.bytes[0]) +
                       " count " + std::to_string(count));
  std::memcpy(buffer, answer.data(), answer.size());
  return static_cast<int>(answer.size());
}

int FakeSwitch(const void* target, int market, const void* data, int length, int kind, int sub_kind, int) {
  std::string line = "switch " + std::to_string(kind) + "/" + std::to_string(sub_kind) + " market " +
                     std::to_string(market);
  if (target != nullptr) line += " target " + std::string(static_cast<const char*>(target));
  if (data != nullptr) {
    std::string bytes(static_cast<const char*>(data), static_cast<std::size_t>(length));
    for (char& c : bytes) c = c == '\0' ? '.' : c == '\xFF' ? '#' : c;
    line += " data " + bytes;
  }
  g_host_log.push_back(line);
  return 1;
}

int FakeCallback(int command, const HostValue7* value, int size, void* buffer, int* length, int) {
  g_host_log.push_back("callback " + std::to_string(command) + " " + Code(*value) + " " + std::to_string(size));
  if (command != 11) return 0;
  std::strncpy(static_cast<char*>(buffer), kBankAbbr, static_cast<std::size_t>(*length));
  *length = static_cast<int>(std::strlen(kBankAbbr));
  return 1;
}

// Message boxes, script dialogs and file dialogs answered and recorded.
class HostServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_host_log.clear();
    RegisterCallBack(&FakeData, &FakeSwitch, &FakeCallback);
    previous_box_ = orbe::SetMessageBoxHandler([this](HWND, const std::string& text, const std::string& caption, UINT) {
      boxes_.push_back(orbe::GbkToUtf8(caption) + ": " + orbe::GbkToUtf8(text));
      return 7;
    });
    previous_dialog_ = orbe::SetScriptDialogHandler([this](const orbe::ScriptDialogRequest& request) {
      dialogs_.push_back(std::to_string(static_cast<int>(request.kind)) + " " + std::to_string(request.special) + " " +
                         request.title + " " + request.text + " " + std::to_string(request.width));
      return std::string("typed");
    });
    previous_file_ = orbe::SetFileDialogHandler(
        [](const orbe::FileDialogRequest& request) { return "/home/u/" + request.initial_name; });
  }
  void TearDown() override {
    RegisterCallBack(nullptr, nullptr, nullptr);
    orbe::SetMessageBoxHandler(previous_box_);
    orbe::SetScriptDialogHandler(previous_dialog_);
    orbe::SetFileDialogHandler(previous_file_);
  }
  void Load(orbe_test::HarnessContainer& container, const std::string& source) {
    ASSERT_TRUE(container.Load(source)) << container.LastError();
  }
  void Run(orbe_test::HarnessContainer& container, const std::string& function,
           const std::vector<std::string>& args = {}) {
    ASSERT_TRUE(container.Call(function, args)) << container.LastError();
  }

  orbe_test::HarnessContainer container_;
  std::vector<std::string> boxes_;
  std::vector<std::string> dialogs_;
  orbe::MessageBoxHandler previous_box_;
  orbe::ScriptDialogHandler previous_dialog_;
  orbe::FileDialogHandler previous_file_;
};

// Each case: a script expression, what it gives, and the host calls it makes.
struct HostCase {
  const char* expression;
  std::string result;
  std::vector<std::string> host_calls;
};

TEST_F(HostServicesTest, HostFunctionsAreCalledAsTheServicesSayAndTheirAnswersConverted) {
  const std::vector<HostCase> cases = {
      {"c.GotoHQBJ()", "None", {"switch 10/0 market -1"}},
      {"c.GotoF5Wnd('600000')", "None", {"switch 12/0 market -1 target 600000"}},
      {"c.GotoF5Wnd1('000001', 0)", "None", {"switch 12/0 market 0 target 000001"}},
      {"c.KVX_DownDayFile('600000', 1)", "None", {"switch 17/0 market 1 target 600000"}},
      {"c.Syn_FlushHQ('600000')", "None", {"switch 50/1 market -1 target 600000"}},
      {"c.Asyn_FlushHQ('600000')", "None", {"switch 40/6 market -1 target 600000"}},
      {"c.KVX_OpenURL('http://example.org/')", "1", {"switch 15/2 market -1 target http://example.org/"}},
      {"c.KVX_OpenURL('http://' + 'x' * 1017)", "0", {}},
      {"c.SendMessage('', '', 'SAVE_STOCK_BLOCK', '600000,,0000012')", "None",
       {"switch 9/0 market -1 data #600000#000001"}},
      {"c.GetStockData('600000', -1, 5)", "10.5", {"data 104 600000 0 count 1"}},
      {"c.GetStockData('600000', 1, 7)", "123456.0", {"data 105 600000 1 count 1"}},
      {"c.GetStockData('600000', 0, 5)", "0.0", {}},
      {"c.GetStockData('600000', -1, 99)", "0.0", {}},
      {"c.GetStockData1('600000', -1, 82)", "95000000000.0", {"data 104 600000 0 count 1"}},
      {"c.GetStockData1('600000', -1, 70)", "42.0", {"data 104 600000 0 count 1"}},
      {"c.GetStockData1('600000', -1, 71)", "0.0", {}},
      {"c.KVX_Stock_Get_Decimal('600000', 1)", "2", {"data 120 600000 1 count 1"}},
      {"c.KVX_Stock_Get_HSType('600000', -1)", "1", {"data 120 600000 255 count 1"}},
      {"c.KVX_Stock_Get_KVXBlock('600000')", "main", {"data 120 600000 255 count 1"}},
      {"sorted(c.KVX_Stock_Get_Ext('600000', 1).items())",
       "[('block', 'main'), ('decimal', 2), ('kind', 1), ('market', 1)]", {"data 120 600000 1 count 1"}},
      {"c.KVX_Stock_Get_Ext('999999', 1)", "None", {}},
      {"c.GetKVXLoginInfo()", "('trader', '531531', 'desk', '', '', '', '', '')", {"data 132  0 count 1"}},
      {"c.GetKVXJYInfo()", "('acct', 'broker', '', '')", {"data 127  0 count 1"}},
      {"c.KVX_GetStockDayData('600000', 1, 20240103, 0)",
       "[(20240103, 1.0, 2.0, 0.5, 1.5, 100.0, 150.0), (20240104, 1.0, 2.0, 0.5, 1.5, 100.0, 150.0)]",
       {"data 4 600000 1 count 3000"}},
      {"c.ShowKVXKVXKeyBoardGuy('600000', 1, 2, 3, 4)", std::string("('") + kBankAbbrUtf8 + "', 1)",
       {"callback 11 600000 60"}},
      {"c.ShowKVXKVXKeyBoardGuy2('600', 1, 2, 3, 4, 5)", std::string("('") + kBankAbbrUtf8 + "', 1)",
       {"callback 11 600 60"}},
      {"c.ShowKVXInfoDlg(1, 1, '600000', 't', 'x', 'y')", "None", {"callback 12 600000 60"}},
  };
  std::string source = "results = []\ndef run(c):\n";
  for (const HostCase& c : cases) source += "    results.append(repr(" + std::string(c.expression) + "))\n";
  Load(container_, source);
  Run(container_, "run");
  std::size_t next_call = 0;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(container_.Eval("eval(results[" + std::to_string(i) + "]) if results[" + std::to_string(i) +
                              "] != 'None' else 'None'"),
              cases[i].result)
        << cases[i].expression;
    for (const std::string& call : cases[i].host_calls) {
      ASSERT_LT(next_call, g_host_log.size()) << cases[i].expression;
      EXPECT_EQ(g_host_log[next_call++], call) << cases[i].expression;
    }
  }
  EXPECT_EQ(next_call, g_host_log.size()) << "unexpected host calls";

  // No code to save: the user is told; without host functions nothing is asked.
  Load(container_, R"(
def empty(c):
    c.SendMessage('', '', 'SAVE_STOCK_BLOCK', ',')
def unregistered(c):
    global gone
    gone = (c.GetStockData('600000', -1, 5), c.GetKVXLoginInfo()[0], c.KVX_OpenURL('http://x/'),
            c.ShowKVXKVXKeyBoardGuy('600000', 0, 0, 0, 0), c.KVX_GetStockDayData('600000', 1, 0, 0))
    c.SendMessage('', '', 'SAVE_STOCK_BLOCK', '600000')
)");
  Run(container_, "empty");
  EXPECT_EQ(boxes_, std::vector<std::string>{"\xe6\x8f\x90\xe7\xa4\xba: \xe6\xb2\xa1\xe6\x9c\x89\xe6\x95\xb0"
                                             "\xe6\x8d\xae\xe9\x9c\x80\xe8\xa6\x81\xe4\xbf\x9d\xe5\xad\x98"});
  RegisterCallBack(nullptr, nullptr, nullptr);
  g_host_log.clear();
  Run(container_, "unregistered");
  EXPECT_EQ(container_.Global("gone"), "(0.0, '', 0, ('', 0), [])");
  EXPECT_TRUE(g_host_log.empty());
}

// The owner hears SendMessage and answers GetMessage.
class RecordingTarget : public IF10MessageNotify {
 public:
  std::vector<std::string> heard;
  void OnContainerMessage(const std::string& a, const std::string& b, const std::string& name,
                          const std::string& value) override {
    heard.push_back(a + "|" + b + "|" + name + "|" + value);
  }
  std::string OnContainerQuery(const std::string&, const std::string&, const std::string& name,
                               const std::string&) override {
    return name == "IS_DEFAULT_PASSWORD" ? "YES" : "";
  }
};

TEST_F(HostServicesTest, UtilitiesDialogsFlagsAndTheMessageTarget) {
  RecordingTarget target;
  container_.SetMessageTarget(&target);
  orbe_test::HarnessContainer other;
  std::ofstream(container_.Folder() + "/a1.txt") << "x";
  Load(container_, R"(
out = {}
def run(c, folder, other_id):
    out['version'] = c.Version().startswith('2.31 PA')
    out['platform'] = c.Platform()
    out['id'] = c.GetPtrAsLong() != 0 and c.GetPtrAsLong() != int(other_id)
    out['exists'] = (c.IsFileExist(folder + '/a?.txt'), c.IsFileExist(folder + '/b*'), c.IsFileExist(''))
    out['trim'] = (c.StrLeftTrim('ab\u4e2d\u6587', 3), c.StrLeftTrim('ab\u4e2d', 4), c.StrLeftTrim('x', -1))
    c.SetScrollBarType(3)
    out['scroll'] = c.GetScrollBarType()
    c.SetScrollBarType(0)
    out['host'] = (c.ChangeHost(1), c.ChangeHost(2), c.GetCachePath(), c.GetConnectStat())
    out['box'] = c.MessageBox('hello', 1)
    out['kvx box'] = c.KVXMessageBox('text', 'caption', 0)
    c.DebugMessage('hidden')
    c.SetDebugMode(1)
    c.DebugMessage('shown')
    c.SetDebugMode(0)
    c.DlgShowText('title', 'body', 300, 200)
    out['special'] = c.ShowspecialDlg(5, 'ask', 'default')
    out['open'] = c.OpenCFileDialog('txt|csv')
    out['save'] = c.SaveCFileDialog('txt', 'report.txt')
    out['folder'] = c.BrowseForFolder()
    c.PopModalDlg('pop', 300, 200, 'page.py', 'arg')
    c.ShowWaitDlg(1, 2)
    c.HideWaitDlg()
    c.ContainerDlgRunScript('t', 's.py', 'a')
    c.ShowContainerDlg(1, 2, 3, 4)
    c.HideContainerDlg()
    c.GlobalDlgRunScript('g', 'g.py', 'b')
    c.ShowGlobalDlg(-1, -1, 300, 200)
    c.HideGlobalDlg()
    c.RunOtherScript('other.py', 'x')
    c.EnableUnInitContainer(1)
    c.EnableKeyDownMsg(1)
    c.SetEnableKVXKeyBoardShortcut(0)
    c.SendMessage('a', 'b', 'KVXCONTAINER_DLG_CLOSE', '1')
    out['query'] = (c.GetMessage('', '', 'IS_DEFAULT_PASSWORD', ''), c.GetMessage('', '', 'other', ''))
    out['clipboard'] = (c.AddText2Clipboard('\u526a\u8d34'), c.GetTextFromClipboard())
    out['desktop'] = c.GetDesktopSize()
    out['active'] = c.IsActiveWnd()
)");
  // A load gives its window the focus; another window has it now.
  EXPECT_EQ(CWnd::GetFocus(), static_cast<CWnd*>(&container_));
  other.SetFocus();
  orbe::SetDesktopSize(1280, 720);
  Run(container_, "run", {container_.Folder(), std::to_string(other.GetPtrAsLong())});
  const auto out = [&](const char* key) { return container_.Eval(std::string("out['") + key + "']"); };
  EXPECT_EQ(out("version"), "True");
  EXPECT_EQ(out("platform"), "LINUX");
  EXPECT_EQ(out("id"), "True");
  EXPECT_EQ(out("exists"), "(1, 0, 0)");
  EXPECT_EQ(out("trim"), "(('ab', 2), ('ab\xe4\xb8\xad', 4), ('', 0))");
  EXPECT_EQ(out("scroll"), "3");
  EXPECT_EQ(out("host"), "(0, 0, '', 0)");
  EXPECT_EQ(out("box"), "7");
  EXPECT_EQ(out("kvx box"), "7");
  EXPECT_EQ(out("special"), "typed");
  EXPECT_EQ(out("open"), "('/home/u/', '')");
  EXPECT_EQ(out("save"), "('/home/u/report.txt', 'report.txt')");
  EXPECT_EQ(out("folder"), "/home/u/");
  EXPECT_EQ(out("query"), "('YES', '')");
  EXPECT_EQ(out("clipboard"), "(1, '\xe5\x89\xaa\xe8\xb4\xb4')");
  EXPECT_EQ(orbe::GetClipboardText(), "\xbc\xf4\xcc\xf9");  // the same text, GBK
  EXPECT_EQ(out("desktop"), "(1280, 720)");
  EXPECT_EQ(out("active"), "0");
  EXPECT_EQ(boxes_, (std::vector<std::string>{"\xe6\x8f\x90\xe7\xa4\xba: hello", "caption: text",
                                               "\xe4\xbf\xa1\xe6\x81\xaf: shown"}));
  EXPECT_EQ(dialogs_, (std::vector<std::string>{"0 0 title body 300", "1 5 ask default 0"}));
  EXPECT_EQ(container_.hooks,
            (std::vector<std::string>{"PopModalDlg pop 300 200 page.py arg", "ShowWaitDlg 1 2", "HideWaitDlg",
                                      "ContainerDlgRunScript t s.py a", "ShowContainerDlg 1 2 3 4",
                                      "HideContainerDlg", "GlobalDlgRunScript g g.py b",
                                      "ShowGlobalDlg -1 -1 300 200", "HideGlobalDlg", "RunOtherScript other.py x"}));
  EXPECT_EQ(target.heard, std::vector<std::string>{"a|b|KVXCONTAINER_DLG_CLOSE|1"});
  EXPECT_TRUE(container_.UnInitContainerEnabled());
  EXPECT_TRUE(container_.KeyDownMessagesEnabled());
  EXPECT_FALSE(container_.KeyboardShortcutEnabled());
  EXPECT_FALSE(container_.DebugMode());
  container_.PrepareForLoad();
  container_.ClearUnInitContainer();
  EXPECT_FALSE(container_.UnInitContainerEnabled());
}

TEST_F(HostServicesTest, TheObjectStoreKeepsObjectsAcrossCalls) {
  Load(container_, R"(
class Result:
    pass
out = {}
def save(c):
    r = Result()
    r.value = 42
    out['save'] = (c.SaveObject('result', r), c.SaveObject('result', Result()), c.FindObject('result'))
def pick(c):
    r = c.PickObject('result')
    out['pick'] = (r.value, c.FindObject('result'), c.PickObject('result'), c.PickObject('never'))
)");
  Run(container_, "save");
  Run(container_, "pick");
  EXPECT_EQ(container_.Eval("out['save']"), "(1, 0, 1)");
  EXPECT_EQ(container_.Eval("out['pick']"), "(42, 0, None, None)");
}

TEST_F(HostServicesTest, TheTimerCallsOnTimerUntilItIsStopped) {
  Load(container_, R"(
ticks = 0
def OnTimer(c):
    global ticks
    ticks += 1
    if ticks == 3:
        c.UnRegisterTimer()
def start(c):
    c.RegisterTimer(0)
)");
  Run(container_, "start");
  EXPECT_TRUE(container_.TimerRegistered());
  ASSERT_TRUE(orbe::PumpUntil([&] { return container_.Global("ticks") == "3"; }, 10000));
  EXPECT_FALSE(container_.TimerRegistered());
  orbe::PumpFor(300);
  EXPECT_EQ(container_.Global("ticks"), "3");
}

// Subscribed messages reach only the windows subscribed to the id, inside
// the sender's call; pushed messages reach the windows subscribed to pushes
// through their own queue and exchange buffer.
TEST_F(HostServicesTest, SubscribedAndPushedMessagesReachOnlyTheirSubscribers) {
  orbe_test::HarnessContainer receiver;
  const std::string script = R"(
got = []
pushed = []
def OnSubscribeMessage(c, id, first, second):
    got.append((id, first, second, c.SendSubscribeMessage(8, 'nested', '')))
def OnTPPushMessage(c, length):
    entry = [length, c.GetPushBufLength(), c.SeekPushBufPos(int(length) - 1), c.SeekPushBufPos(0),
             c.PopPushBufAsString(4), c.PopPushBufAsShort(), c.PopPushBufAsInt(), c.PopPushBufAsInt64(),
             c.PopPushBufAsFloat(), c.PopPushBufAsDouble(), c.PopPushBufAsChar(), c.GetPushBufPos(),
             c.PopPushBufAsInt()]
    pushed.append(entry)
def subscribe(c, *ids):
    for id in ids:
        c.SubscribeMessage(int(id))
def unsubscribe(c, id):
    c.UnsubscribeMessage(int(id))
def send(c, id):
    global sent
    sent = (c.SendSubscribeMessage(int(id), 'one', '\u4e8c'), c.SendSubscribeMessage(2000000000, 'x', 'y'))
)";
  Load(container_, script);
  Load(receiver, script);
  Run(receiver, "subscribe", {"7", "2000000001"});
  Run(container_, "send", {"7"});
  EXPECT_EQ(container_.Global("sent"), "(1, 0)");
  EXPECT_EQ(receiver.Global("got"), "[('7', 'one', '\xe4\xba\x8c', 0)]");
  EXPECT_EQ(container_.Global("got"), "[]");
  Run(receiver, "unsubscribe", {"7"});
  Run(container_, "send", {"7"});
  EXPECT_EQ(container_.Global("sent"), "(0, 0)");

  // A push from an engine thread: text, i16, i32, i64, f32, f64, i8 = 31 bytes.
  std::string message = "abc";
  message.push_back('\0');
  const auto append = [&message](auto value) { message.append(reinterpret_cast<const char*>(&value), sizeof value); };
  append(std::int16_t{-2});
  append(std::int32_t{70000});
  append(std::int64_t{1} << 40);
  append(1.5f);
  append(2.25);
  append(std::int8_t{-5});
  const std::string too_long(10241, 'x');
  std::thread engine([&] {
    auto& manager = PyConMessageMgr::Instance();
    manager.OnPushMessage(reinterpret_cast<const unsigned char*>(message.data()), static_cast<std::uint32_t>(message.size()));
    manager.OnPushMessage(reinterpret_cast<const unsigned char*>(too_long.data()), static_cast<std::uint32_t>(too_long.size()));
  });
  engine.join();
  ASSERT_TRUE(orbe::PumpUntil([&] { return receiver.Global("len(pushed)") == "1"; }, 10000));
  orbe::RunUntilIdle();
  EXPECT_EQ(receiver.Global("pushed"),
            "[['31', 31, 0, 1, 'abc', -2, 70000, 1099511627776, 1.5, 2.25, -5, 31, 0]]");
  EXPECT_EQ(container_.Global("pushed"), "[]");
}

// Without a data environment every request is refused at once: the script
// gets 0 and no callback, and nothing stays in the request map.
TEST_F(HostServicesTest, RequestsWithoutASessionAreRefusedWithoutACallback) {
  Load(container_, R"(
def never(c, handle, status):
    raise RuntimeError('called')
def run(c):
    global sent
    sent = (c.FetchData('never', 'SELECT T001 FROM 100000001', 0, ''), c.FetchStatData('never', 'x'),
            c.CallTQL('never', 'p', ''), c.CallRPC('never', 'p'), c.Syn_CallTQL('p', ''), c.FetchFile('never', 'f'),
            c.Syn_GetTimestamp(1), c.GetTQLCacheTimeStamp('p', ''))
)");
  Run(container_, "run");
  EXPECT_EQ(container_.Global("sent"), "(0, 0, 0, 0, 0, 0, 0, 0)");
  orbe::RunUntilIdle();
  EXPECT_EQ(container_.PendingRequestCount(), 0u);
  EXPECT_EQ(std::count(container_.calls.begin(), container_.calls.end(), "never"), 0);
}

}  // namespace
