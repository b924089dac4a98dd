// The script object's data methods end to end: scripts in a test container
// over the module's main session, the real engine and cache, and a real
// orbe-dataserver on a sample market (one server for the whole program). What
// the scripts read is compared with direct queries of the server's database.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "dataservice/transfer_server.h"
#include "orbe/env.h"
#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window.h"
#include "orbe/script/secured_text.h"
#include "script/script_server_environment.h"
#include "support/script_harness.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

namespace fs = std::filesystem;

constexpr long long kSampleStamp = 1796032800;
constexpr int kWait = 20000;

const bool kWithRealComponents = orbe_test::RunWithRealComponents("orbe_scriptdata_components");

using Database = orbe_test::ServerDatabase;

struct ScriptDataEnvironment : orbe_test::ScriptServerEnvironment {
  using ScriptServerEnvironment::ScriptServerEnvironment;
  static const std::string& DatabasePath() { return Server().Database(); }
};
const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ScriptDataEnvironment("scriptdata", kWithRealComponents));

std::string Utf8(const std::string& gbk) { return orbe::GbkToUtf8(gbk); }

class ScriptDataTest : public ::testing::Test {
 protected:
  Database db_{ScriptDataEnvironment::DatabasePath()};
  orbe_test::HarnessContainer container_;

  // Pumps until the expression over the script's globals reads `expected`.
  bool WaitFor(const std::string& expression, const std::string& expected) {
    return orbe::PumpUntil([&] { return container_.Eval(expression) == expected; }, kWait);
  }
  void Load(const std::string& source) { ASSERT_TRUE(container_.Load(source)) << container_.LastError(); }
  void Run(const std::string& function, const std::vector<std::string>& args = {}) {
    ASSERT_TRUE(container_.Call(function, args)) << container_.LastError();
  }
};

// Every field type of the dictionary, read inside the reply callback by the
// readers that fit it.
TEST_F(ScriptDataTest, AsynchronousSelectsReadEveryFieldTypeInTheCallback) {
  const std::string code = db_.Text("SELECT T002 FROM t100000002 ORDER BY T002 LIMIT 1");
  ASSERT_FALSE(code.empty());
  const std::string date = db_.Text("SELECT min(T003) FROM t100000020 WHERE T002 = '" + code + "'");
  Load(R"(
out = {}
READERS = {'s': 'GetSqlRecordAsString', 'i': 'GetSqlRecordAsInt', 'L': 'GetSqlRecordAsInt64',
           'd': 'GetSqlRecordAsDouble'}

def reader(table, fields):
    def got(c, handle, status):
        h = int(handle)
        row = {'status': status, 'count': c.GetSqlRecordRowCount(h)}
        for name, kinds in fields:
            for kind in kinds:
                row[name + '.' + kind] = getattr(c, READERS[kind])(h, 0, name)
        row['beyond'] = c.GetSqlRecordAsString(h, row['count'], fields[0][0])
        out[table] = row
    return got

def start(c, code, date):
    queries = [
        ('t2', 'SELECT T001,T004,T006,T007,T008,T009,T010,T017,T018,T019 FROM 100000002 WHERE T002=' + repr(code),
         [('T001', 's'), ('T004', 's'), ('T006', 's'), ('T007', 'i'), ('T008', 'd'), ('T009', 'i'),
          ('T010', 'i'), ('T017', 's'), ('T018', 's'), ('T019', 'sL')]),
        ('t20', 'SELECT T003,T009,T012 FROM 100000020 WHERE T002=' + repr(code) + ' AND T003=' + date,
         [('T003', 'i'), ('T009', 'L'), ('T012', 'd')]),
        ('t21', 'SELECT T004,T003 FROM 100000021 WHERE T001=20241202', [('T004', 'i'), ('T003', 'i')]),
    ]
    for table, sql, fields in queries:
        globals()['got_' + table] = reader(table, fields)
        out['sent_' + table] = c.FetchData('got_' + table, sql, 0, '')
)");
  Run("start", {code, date});
  for (const char* table : {"t2", "t20", "t21"}) {
    EXPECT_EQ(container_.Eval(std::string("out['sent_") + table + "']"), "1") << table;
    ASSERT_TRUE(WaitFor(std::string("'") + table + "' in out", "True")) << table;
    EXPECT_EQ(container_.Eval(std::string("out['") + table + "']['status']"), "100") << table;
    EXPECT_EQ(container_.Eval(std::string("out['") + table + "']['beyond']"), "") << table;
  }
  EXPECT_EQ(container_.PendingRequestCount(), 0u);

  // 100000002: texts (2, 11, 12), a constant translated to its text (1),
  // ints (4, 6, 9), a double (8) and a date and time (10).
  const std::vector<std::string> company = db_.Row(
      "SELECT T001, T004, (SELECT text FROM orbe_consts WHERE class = '205' AND code = T006), T007, T008, T009,"
      " T010, T017, T018, T019 / 1000000, T019 % 1000000 FROM t100000002 WHERE T002 = '" + code + "'");
  ASSERT_EQ(company.size(), 11u);
  const auto got = [&](const char* table, const char* key) {
    return container_.Eval(std::string("out['") + table + "']['" + key + "']");
  };
  EXPECT_EQ(got("t2", "count"), "1");
  EXPECT_EQ(got("t2", "T001.s"), Utf8(company[0]));
  EXPECT_EQ(got("t2", "T004.s"), Utf8(company[1]));
  EXPECT_EQ(got("t2", "T006.s"), Utf8(company[2]));
  EXPECT_EQ(got("t2", "T007.i"), company[3]);
  EXPECT_DOUBLE_EQ(std::stod(got("t2", "T008.d")), std::stod(company[4]));
  EXPECT_EQ(got("t2", "T009.i"), company[5]);
  EXPECT_EQ(got("t2", "T010.i"), company[6]);
  EXPECT_EQ(got("t2", "T017.s"), Utf8(company[7]));
  EXPECT_EQ(got("t2", "T018.s"), Utf8(company[8]));
  const long long day = std::atoll(company[9].c_str());
  const long long time = std::atoll(company[10].c_str());
  EXPECT_EQ(got("t2", "T019.L"), std::to_string(day | (time << 32)));
  EXPECT_EQ(got("t2", "T019.s"), time > 0 ? orbe::Format("%lld-%06lld", day, time) : std::to_string(day));

  // 100000020: a 64-bit int (5) and a float (7); 100000021: a 16-bit int (3) and a byte (6).
  const std::vector<std::string> bar = db_.Row("SELECT T009, T012 FROM t100000020 WHERE T002 = '" + code +
                                               "' AND T003 = " + date);
  ASSERT_EQ(bar.size(), 2u);
  EXPECT_EQ(got("t20", "T003.i"), date);
  EXPECT_EQ(got("t20", "T009.L"), bar[0]);
  EXPECT_NEAR(std::stod(got("t20", "T012.d")), std::stod(bar[1]), 1e-4 * std::max(1.0, std::stod(bar[1])));
  const std::vector<std::string> day_row = db_.Row("SELECT T004, T003 FROM t100000021 WHERE T001 = 20241202");
  ASSERT_EQ(day_row.size(), 2u);
  EXPECT_EQ(got("t21", "count"), "2");
  EXPECT_EQ(got("t21", "T004.i"), day_row[0]);
  EXPECT_EQ(got("t21", "T003.i"), day_row[1]);
}

// A reply that arrives after its request was cancelled (a new script) is
// dropped and its handle freed; requests made afterwards are answered. A
// handle is readable only inside its callback.
TEST_F(ScriptDataTest, ACancelledRequestNeverReachesTheScript) {
  Load(R"(
out = {'replies': []}
def got(c, handle, status):
    out['replies'].append(status)
def ask(c):
    out['first'] = c.FetchData('got', 'SELECT T001 FROM 100000001', 0, '')
    out['handle'] = len(out['replies'])
def again(c):
    out['second'] = c.FetchData('got', 'SELECT T001 FROM 100000002', 0, '')
def late(c, handle):
    out['late'] = c.GetSqlRecordRowCount(int(handle))
)");
  Run("ask");
  ASSERT_EQ(container_.PendingRequestCount(), 1u);
  container_.CancelRequests();
  ASSERT_TRUE(orbe::PumpUntil([&] { return container_.PendingRequestCount() == 0; }, kWait));
  orbe::RunUntilIdle();
  EXPECT_EQ(container_.Eval("out['replies']"), "[]");
  EXPECT_EQ(std::count(container_.calls.begin(), container_.calls.end(), "got"), 0);

  Run("again");
  ASSERT_TRUE(WaitFor("out['replies']", "['100']"));
  // The handle of the delivered reply is gone: reading it gives the empty result.
  Run("late", {"1"});
  Run("late", {"2"});
  EXPECT_EQ(container_.Eval("out['late']"), "0");
}

// Options set beforehand travel with the next SQL request once: two options
// restrict the records together, the request after them is unrestricted, and
// cleared options restrict nothing.
TEST_F(ScriptDataTest, SqlOptionsAccumulateForOneRequestThenClear) {
  const long long all = db_.Number("SELECT count(*) FROM t100000001");
  const std::vector<std::string> codes = {db_.Text("SELECT T003 FROM t100000001 WHERE T005 = '1' LIMIT 1"),
                                          db_.Text("SELECT T003 FROM t100000001 WHERE T005 = '8' LIMIT 1")};
  const std::string list = codes[0] + "," + codes[1];
  const long long both = db_.Number("SELECT count(*) FROM t100000001 WHERE T003 IN ('" + codes[0] + "','" +
                                    codes[1] + "') AND T005 = '1'");
  const long long first = db_.Number("SELECT count(*) FROM t100000001 WHERE T003 IN ('" + codes[0] + "','" +
                                     codes[1] + "')");
  ASSERT_LT(both, first);
  Load(R"(
out = {}
def counter(key):
    def got(c, handle, status):
        out[key] = c.GetSqlRecordRowCount(int(handle))
    return got
got0, got1, got2 = counter(0), counter(1), counter(2)
def run(c, codes):
    c.AddSqlOption(3, codes)
    c.AddSqlOption(5, '1')
    c.FetchData('got0', 'SELECT T001 FROM 100000001', 0, '')
    c.FetchData('got1', 'SELECT T001 FROM 100000001', 0, '')
    c.AddSqlOption(5, '1')
    c.ClearSqlOption()
    c.FetchData('got2', 'SELECT T001 FROM 100000001', 3, codes)
)");
  Run("run", {list});
  ASSERT_TRUE(WaitFor("len(out)", "3"));
  EXPECT_EQ(container_.Eval("out[0]"), std::to_string(both));
  EXPECT_EQ(container_.Eval("out[1]"), std::to_string(all));
  EXPECT_EQ(container_.Eval("out[2]"), std::to_string(first));
}

// A secured statement reads as its plain form; a split one joins its parts;
// a text past the limit (or not Base64) is an empty statement, which is
// refused without a callback.
TEST_F(ScriptDataTest, SecuredStatementsRoundTripAndAnOverlongOneIsEmpty) {
  const std::string statement = "SELECT T001 FROM 100000001";
  const std::string secured = orbe::EncodeSecuredText(statement);
  EXPECT_EQ(orbe::DecodeSecuredText(secured), statement);
  EXPECT_NE(secured.find("SELECT"), 0u);
  // Whole cipher blocks of n bytes make 4 * ceil(n / 3) Base64 characters.
  const auto padded = [&](std::size_t size) {
    std::string text = statement + " WHERE T001!='";
    return text + std::string(size - text.size() - 1, 'x') + "'";
  };
  const std::string long_text = orbe::EncodeSecuredText(padded(1536));
  const std::string limit_text = orbe::EncodeSecuredText(padded(1528));
  ASSERT_EQ(long_text.size(), 2048u);
  ASSERT_EQ(limit_text.size(), 2040u);
  EXPECT_EQ(orbe::DecodeSecuredText(long_text), "");
  EXPECT_EQ(orbe::DecodeSecuredText(limit_text), padded(1528));
  EXPECT_EQ(orbe::DecodeSecuredText("not base64!"), "");
  EXPECT_EQ(orbe::DecodeSecuredText("QUJD"), "");  // three bytes: not whole blocks

  const long long all = db_.Number("SELECT count(*) FROM t100000001");
  Load(R"(
out = {}
def got(c, handle, status):
    out['rows'] = c.GetSqlRecordRowCount(int(handle))
def run(c, secured, head, tail, overlong, count):
    out['plain'] = c.FetchData_Sec('got', secured, '', 0, '')
    out['overlong'] = c.FetchData_Sec('never', overlong, '', 0, '')
    out['split'] = c.Syn_FetchStatData_Sec(head, tail)
    out['count'] = c.GetStatResultAsInt(out['split'])
    out['bad count'] = c.Syn_FetchStatData_Sec(overlong, '')
)");
  const std::string count_statement = "SELECT COUNT(*) FROM 100000001";
  Run("run", {secured, orbe::EncodeSecuredText(count_statement.substr(0, 11)),
              orbe::EncodeSecuredText(count_statement.substr(11)), long_text, count_statement});
  EXPECT_EQ(container_.Eval("out['plain']"), "1");
  EXPECT_EQ(container_.Eval("out['overlong']"), "0");
  EXPECT_NE(container_.Eval("out['split']"), "0");
  EXPECT_EQ(container_.Eval("out['count']"), std::to_string(all));
  EXPECT_EQ(container_.Eval("out['bad count']"), "0");
  ASSERT_TRUE(WaitFor("out.get('rows')", std::to_string(all)));
  orbe::RunUntilIdle();
  EXPECT_EQ(std::count(container_.calls.begin(), container_.calls.end(), "never"), 0);
  // The refused request's handle went once its own status had passed.
  EXPECT_EQ(container_.PendingRequestCount(), 0u);
}

// An RPC request filled to the last byte of the exchange buffer goes out
// whole; the reply is read with the pops up to its last byte.
TEST_F(ScriptDataTest, RpcRequestsAtTheBufferBoundaryAndTheirReplies) {
  Load(R"(
out = {}
def fill(c):
    out['seek past'] = c.SeekRPCCallReqPos(10239)
    out['seek'] = c.SeekRPCCallReqPos(35)
    out['wide'] = c.AddRPCCallReqAsString('abcdefgh', 4)
    out['after wide'] = c.GetRPCCallReqPos()
    out['text'] = c.AddRPCCallReqAsString('TS0', 8)
    while c.GetRPCCallReqPos() + 8 <= 10240:
        c.AddRPCCallReqAsDouble(2.5)
    while c.AddRPCCallReqAsChar(b'z'):
        pass
    out['full'] = c.GetRPCCallReqPos()
    out['one more'] = (c.AddRPCCallReqAsChar(b'z'), c.AddRPCCallReqAsShort(1), c.AddRPCCallReqAsInt(1),
                       c.AddRPCCallReqAsInt64(1), c.AddRPCCallReqAsFloat(1.0), c.AddRPCCallReqAsString('a', 1))
    out['long name'] = c.CallRPC('got', 'x' * 31)
    out['reset'] = c.GetRPCCallReqPos()
def send(c):
    fill(c)
    c.SeekRPCCallReqPos(35)
    c.AddRPCCallReqAsString('TS0', 8)
    out['sent'] = c.CallRPC('got', 'sys_get_main_table_v2')
    out['after call'] = c.GetRPCCallReqPos()
def got(c, handle, status):
    h = int(handle)
    out['status'] = status
    out['result'] = c.GetTQLResult(h)
    out['length'] = c.GetTQLRpyLength(h)
    out['seek 0'] = c.SeekTQLRpyBufPos(h, 0)
    out['seek 1'] = c.SeekTQLRpyBufPos(h, 1)
    out['seek last'] = c.SeekTQLRpyBufPos(h, out['length'] - 2)
    out['seek beyond'] = c.SeekTQLRpyBufPos(h, out['length'] - 1)
    c.SeekTQLRpyBufPos(h, 1)
    out['too long text'] = c.PopRpyBufAsString(h, 65537)
    out['stamp'] = c.PopRpyBufAsInt64(h)
    out['position'] = c.GetTQLRpyBufPos(h)
    out['past end'] = (c.PopRpyBufAsChar(h), c.PopRpyBufAsInt(h), c.PopRpyBufAsDouble(h), c.GetTQLRpyBufPos(h))
def full(c):
    fill(c)
    c.SeekRPCCallReqPos(35)
    c.AddRPCCallReqAsString('TS0', 4)
    c.SeekRPCCallReqPos(10240 - 1 - 8)
    c.AddRPCCallReqAsInt64(7)
    c.AddRPCCallReqAsChar(b'q')
    out['full position'] = c.GetRPCCallReqPos()
    out['full sent'] = c.CallRPC('full_got', 'sys_get_main_table_v2')
def full_got(c, handle, status):
    out['full stamp'] = c.PopRpyBufAsInt64(int(handle))
def syn(c):
    c.SeekRPCCallReqPos(35)
    c.AddRPCCallReqAsString('TS0', 4)
    h = c.Syn_CallRPC('sys_get_main_table_v2')
    out['syn'] = (h != 0, c.GetTQLResult(h), c.PopRpyBufAsInt64(h))
    out['no parameters'] = c.Syn_CallRPC('sys_get_main_table_v2') != 0
    out['no parameters result'] = c.GetTQLResult(c.Syn_CallRPC('sys_get_main_table_v2'))
)");
  Run("send");
  EXPECT_EQ(container_.Eval("out['seek past']"), "0");
  EXPECT_EQ(container_.Eval("out['seek']"), "1");
  EXPECT_EQ(container_.Eval("(out['wide'], out['after wide'])"), "(0, 35)");
  EXPECT_EQ(container_.Eval("out['text']"), "1");
  EXPECT_EQ(container_.Eval("out['full']"), "10240");
  EXPECT_EQ(container_.Eval("out['one more']"), "(0, 0, 0, 0, 0, 0)");
  EXPECT_EQ(container_.Eval("(out['long name'], out['reset'])"), "(0, 0)");
  EXPECT_EQ(container_.Eval("(out['sent'], out['after call'])"), "(1, 0)");
  ASSERT_TRUE(WaitFor("'status' in out", "True"));
  EXPECT_EQ(container_.Eval("out['status']"), "100");
  EXPECT_EQ(container_.Eval("out['result']"), "0");
  EXPECT_EQ(container_.Eval("out['length']"), "8");
  // Positions from 1 up to the block length (9) minus 3.
  EXPECT_EQ(container_.Eval("(out['seek 0'], out['seek 1'], out['seek last'], out['seek beyond'])"), "(0, 1, 1, 0)");
  EXPECT_EQ(container_.Eval("out['too long text']"), "");
  EXPECT_EQ(container_.Eval("out['stamp']"), std::to_string(kSampleStamp));
  EXPECT_EQ(container_.Eval("out['position']"), "9");
  EXPECT_EQ(container_.Eval("out['past end']"), "(0, 0, 0.0, 9)");

  // A request whose parameters end at the buffer's last byte: 10205 bytes
  // of parameters reach the server, which reads the text up to its NUL.
  Run("full");
  EXPECT_EQ(container_.Eval("(out['full position'], out['full sent'])"), "(10240, 1)");
  ASSERT_TRUE(WaitFor("'full stamp' in out", "True"));
  EXPECT_EQ(container_.Eval("out['full stamp']"), std::to_string(kSampleStamp));

  Run("syn");
  EXPECT_EQ(container_.Eval("out['syn']"), "(True, 0, " + std::to_string(kSampleStamp) + ")");
  // No parameters: the server answers "bad parameters" (2) for an empty set text.
  EXPECT_EQ(container_.Eval("out['no parameters']"), "True");
  EXPECT_EQ(container_.Eval("out['no parameters result']"), "2");
}

// The synchronous methods answer the handle of the session's synchronous
// request; statistics, time stamps, query-language calls and writes read
// from it like a reply.
TEST_F(ScriptDataTest, SynchronousMethodsAndTheirResults) {
  const long long companies = db_.Number("SELECT count(*) FROM t100000002");
  const std::string max_capital = db_.Text("SELECT printf('%.3f', max(T008)) FROM t100000002");
  Load(R"(
out = {}
def run(c):
    h = c.Syn_FetchStatData('SELECT COUNT(*) FROM 100000002')
    out['count'] = (c.GetStatResultAsInt(h), c.GetStatResultAsStr(h))
    h = c.Syn_FetchStatData('SELECT MAX(T008) FROM 100000002')
    out['max'] = c.GetStatResultAsStr(h)
    out['bad'] = c.Syn_FetchStatData('SELECT NOTHING')
    out['stamp'] = c.Syn_GetTimestamp(100000001)
    out['no stamp'] = c.Syn_GetTimestamp(42)
    h = c.Syn_CallTQL('sys_get_main_table_v2', 'TS0')
    out['tql'] = (c.GetTQLResult(h), c.PopRpyBufAsInt64(h))
    out['unknown'] = c.GetTQLResult(c.Syn_CallTQL('no_such_procedure', ''))
    out['reload'] = c.GetTQLResult(c.Syn_ReloadTQL('sys_get_main_table_v2', ''))
    out['not a handle'] = (c.GetStatResultAsInt(987654), c.GetSqlRecordRowCount(-1), c.GetTQLResult(0))
    out['delete'] = c.DeleteBySql('deleted', "DELETE FROM 100000002 WHERE T002='none'", '')
    out['by name'] = c.FlushTable('flushed', 0, '100000002')
def deleted(c, handle, status):
    out['deleted'] = (status, c.GetDeleteCount(int(handle)))
def flushed(c, handle, status):
    out['flushed'] = (status, c.GetFlushTableResultAsInt(int(handle)))
)");
  Run("run");
  EXPECT_EQ(container_.Eval("out['count']"), "(" + std::to_string(companies) + ", '" + std::to_string(companies) + "')");
  EXPECT_EQ(container_.Eval("out['max']"), max_capital);
  EXPECT_EQ(container_.Eval("out['bad']"), "0");
  EXPECT_EQ(container_.Eval("out['stamp']"), std::to_string(kSampleStamp));
  EXPECT_EQ(container_.Eval("out['no stamp']"), "-1");
  EXPECT_EQ(container_.Eval("out['tql']"), "(0, " + std::to_string(kSampleStamp) + ")");
  EXPECT_EQ(container_.Eval("out['unknown']"), "1");
  EXPECT_EQ(container_.Eval("out['reload']"), "0");
  EXPECT_EQ(container_.Eval("out['not a handle']"), "(0, 0, 0)");
  EXPECT_EQ(container_.Eval("out['delete']"), "1");
  ASSERT_TRUE(WaitFor("'deleted' in out and 'flushed' in out", "True"));
  EXPECT_EQ(container_.Eval("out['deleted']"), "('100', (1, 0))");
  EXPECT_EQ(container_.Eval("out['flushed'][0]"), "100");
}

// Lookups through the script object answer what the dictionary and reference
// tables of the container's session hold.
TEST_F(ScriptDataTest, LookupsAnswerFromTheContainersSession) {
  const std::vector<std::string> stock =
      db_.Row("SELECT T003, T004, T002, T001 FROM t100000001 WHERE T005 = '1' ORDER BY T003 LIMIT 1");
  ASSERT_EQ(stock.size(), 4u);
  const std::string industry = db_.Text("SELECT T012 FROM t100000002 WHERE T002 = '" + stock[0] + "'");
  const std::string industry_text = db_.Text("SELECT text FROM orbe_consts WHERE class = '997' AND code = '" +
                                             industry + "'");
  const long long same_industry = db_.Number("SELECT count(*) FROM t100000002 WHERE T012 = '" + industry + "'");
  const std::string bond = db_.Text("SELECT T003 FROM t100000050 LIMIT 1");
  Load(R"(
out = {}
def run(c, code, company, industry, bond):
    out['code'] = c.GetStockCode(company)
    out['abbr'] = c.GetStockAbbr(code)
    out['company'] = c.GetCompanyCode(code)
    out['hq'] = c.GetSecumainAbbr_HQ(code, 0)
    out['inner'] = c.GetInnerCode(code)
    out['industry'] = c.GetConstName('997', industry, 0)
    out['block'] = len(c.GetStockBlock(997, industry, 0).split(','))
    out['in block'] = code in c.GetStockBlock(997, industry, 0).split(',')
    out['companies'] = len(c.GetCmpCodeByHYAndSubHY(997, industry).split(','))
    out['consts'] = '1' in c.GetConstList('201').split(',')
    out['bond abbr'] = c.ZQ_GetZQAbbr(bond) != ''
    out['missing'] = (c.GetStockAbbr('nothing'), c.ZQ_GetZQAbbr('nothing'), c.GetConstName('997', 'nothing', 0))
)");
  Run("run", {stock[0], stock[2], industry, bond});
  EXPECT_EQ(container_.Eval("out['code']"), stock[0]);
  EXPECT_EQ(container_.Eval("out['abbr']"), Utf8(stock[1]));
  EXPECT_EQ(container_.Eval("out['company']"), stock[2]);
  EXPECT_EQ(container_.Eval("out['hq']"), Utf8(stock[1]));
  EXPECT_EQ(container_.Eval("out['inner']"), stock[3]);
  EXPECT_EQ(container_.Eval("out['industry']"), Utf8(industry_text));
  EXPECT_EQ(container_.Eval("out['block']"), std::to_string(same_industry));
  EXPECT_EQ(container_.Eval("out['in block']"), "True");
  EXPECT_EQ(container_.Eval("out['companies']"), std::to_string(same_industry));
  EXPECT_EQ(container_.Eval("out['consts']"), "True");
  EXPECT_EQ(container_.Eval("out['bond abbr']"), "True");
  EXPECT_EQ(container_.Eval("out['missing']"), "('', 'nothing', '')");
}

// A file uploaded through the transfer manager and read back: the progress
// and end reach "OnUDMReplyProcess"; a fetched file reaches its callback.
TEST_F(ScriptDataTest, TransfersAndFetchedFilesReachTheirScriptFunctions) {
  const std::string local = container_.Folder() + "/upload.bin";
  std::ofstream(local, std::ios::binary) << std::string(20000, 'u');
  Load(R"(
out = {'progress': [], 'fetched': []}
def OnUDMReplyProcess(c, transfer, value):
    out['progress'].append((transfer, value))
    if value == '100' or value.startswith('-'):
        out['end'] = c.UDM_GetErrorInfo(int(transfer))
def up(c, path):
    c.UDM_SetUpLoadPath('script/')
    out['id'] = c.UDM_UploadFile(path)
def fetched(c, path):
    out['fetched'].append(path)
def fetch(c):
    out['fetch'] = c.FetchFile('fetched', 'tableinfo.idx')
)");
  Run("up", {local});
  ASSERT_NE(container_.Eval("out['id']"), "-1");
  ASSERT_TRUE(WaitFor("'end' in out", "True"));
  EXPECT_EQ(container_.Eval("out['progress'][-1][1]"), "100");
  EXPECT_EQ(container_.Eval("[v for t, v in out['progress']]"), "['0', '33', '66', '100']");
  Run("fetch");
  EXPECT_EQ(container_.Eval("out['fetch']"), "1");
  ASSERT_TRUE(WaitFor("len(out['fetched'])", "1"));
  const std::string path = container_.Eval("out['fetched'][0]");
  EXPECT_TRUE(fs::exists(path)) << path;
  EXPECT_EQ(fs::path(path).filename(), "tableinfo.idx");
}

}  // namespace
