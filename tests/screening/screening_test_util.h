// A small catalogue and scheme stores written for the screening-window
// tests, a window that records the messages posted to it, and a capture of
// the message boxes the windows show.
#ifndef ORBE_TESTS_SCREENING_SCREENING_TEST_UTIL_H_
#define ORBE_TESTS_SCREENING_SCREENING_TEST_UTIL_H_

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "indicators/catalogue_test_util.h"
#include "orbe/indicators/index_mgr.h"
#include "orbe/platform/message_box.h"
#include "orbe/platform/window.h"

namespace orbe_test {

// Quote, system (SQL and query-language) and user indicators; trees that
// share a node ("财务/盈利", "财务\成长"), a user indicator without a tree and
// one under "自编/动量"; unit types 0 to 3.
inline constexpr const char* kTestSystemXml = R"(<?xml version="1.0" encoding="GB2312" standalone="yes"?>
<IndexList count="6">
 <Index datetype="1" unittype="1" name="营业总收入" alias="营收" info="利润表的营业总收入" tablename="100000011" tablefield="T006" tree="财务/盈利" key="T001" keytype="0" id="S1"><Param flag="报告期" field="T005"/></Index>
 <Index datetype="1" unittype="0" name="市盈率" info="股价除以每股收益" tablename="100000013" tablefield="T009" tree="财务\成长" key="T001" keytype="0" id="S2"/>
 <Index datetype="4" unittype="2" name="总股本" info="股数" tablename="100000013" tablefield="T017" tree="股本" key="T001" keytype="0" id="S3"><Param flag="报告期" field="T005"/></Index>
 <Index datetype="1" unittype="3" name="净资产收益率" info="百分比" tablename="100000013" tablefield="T010" tree="财务/盈利" key="T001" keytype="0" id="S4"><Param flag="报告期" field="T005"/></Index>
 <Index datetype="1" unittype="0" name="收盘价" info="日线收盘" tablename="100000020" tablefield="T008" tree="行情" key="T001" keytype="0" id="S5"><Param flag="日期" field="T003"/></Index>
 <Index tql="1" datetype="3" unittype="0" name="所属行业" info="行业名称" tree="基本资料" id="T1"><Flag flag="字符串"/></Index>
</IndexList>
)";

inline constexpr const char* kTestQuoteIni =
    "[MAIN]\r\n行情指标个数=2\r\n"
    "[指标1]\r\n指标名称=最新价\r\n指标数据类型=1\r\n结构类型=HQ104\r\n结构偏移=18\r\n结构长度=4\r\n"
    "[指标2]\r\n指标名称=涨幅\r\n指标数据类型=1\r\n指标单位类型=3\r\n结构类型=HQ104\r\n结构偏移=46\r\n结构长度=4\r\n";

inline constexpr const char* kTestUserIni =
    "[MAIN]\r\n用户指标个数=2\r\n脚本路径=scripts\r\n"
    "[指标1]\r\n指标名称=营收股本比\r\n指标数据类型=1\r\n指标引用个数=2\r\n指标引用1=营业总收入\r\n指标引用2=总股本\r\n"
    "代码文件=ratio\r\n"
    "[指标2]\r\n指标名称=市盈动量\r\n指标树=自编/动量\r\n指标数据类型=1\r\n指标引用个数=2\r\n指标引用1=市盈率\r\n"
    "指标引用2=最新价\r\n代码文件=ratio\r\n";

struct CatalogueCloser {
  void operator()(IIndexMgr* mgr) const { DeleteIndexMgrInstance(mgr); }
};
using Catalogue = std::unique_ptr<IIndexMgr, CatalogueCloser>;

// The catalogue above in a folder of its own; null when it does not load.
inline Catalogue MakeTestCatalogue(const orbe::testing::TempFolder& folder) {
  namespace fs = std::filesystem;
  orbe::testing::WriteText(folder.File("hq.ini"), kTestQuoteIni);
  orbe::testing::WriteText(folder.File("sys.xml"), kTestSystemXml);
  orbe::testing::WriteText(folder.File("usr.ini"), kTestUserIni);
  fs::create_directories(folder.File("scripts"));
  fs::copy_file(fs::path(ORBE_SOURCE_DIR) / "data/indicators/scripts/ratio.py", folder.File("scripts/ratio.py"),
                fs::copy_options::overwrite_existing);
  Catalogue mgr(CreateIndexMgrInstance());
  if (mgr->LoadIndexes(folder.File("hq.ini"), folder.File("sys.xml"), folder.File("usr.ini")) != 1) return nullptr;
  return mgr;
}

// A store of schemes written by hand in the INI form.
inline constexpr const char* kTestUserSchemesIni =
    "[MAIN]\r\n方案个数=2\r\n模板名称=\r\n"
    "[方案1]\r\n方案名称=手写方案\r\n方案说明=\r\n方案树=\r\n条件表达式=#1 or #2\r\n引用指标个数=2\r\n"
    "指标1=市盈率\r\n参数1=\r\n运算符1=小于\r\n数值1=20\r\n单位1=\r\n是否显示1=TRUE\r\n列宽1=77\r\n小数位1=4\r\n"
    "指标2=营业总收入\r\n参数2=2026三季\r\n运算符2=大于\r\n数值2=1\r\n单位2=亿元\r\n是否显示2=TRUE\r\n"
    "[方案2]\r\n方案名称=第二方案\r\n条件表达式=\r\n引用指标个数=1\r\n指标1=总股本\r\n参数1=2026三季\r\n是否显示1="
    "TRUE\r\n";

// Records the messages posted to it (commands of the panes).
class Receiver : public CWnd {
 public:
  std::vector<UINT> messages;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message >= WM_USER) messages.push_back(message);
    return CWnd::WindowProc(message, wparam, lparam);
  }
};

// The message boxes shown while it lives; each answered with `answer`, or
// the box's default button when it is 0.
class BoxCapture {
 public:
  explicit BoxCapture(int answer = 0) : answer_(answer) {
    orbe::SetMessageBoxHandler([this](HWND, const std::string& text, const std::string& caption, UINT type) {
      texts.push_back(text);
      captions.push_back(caption);
      return answer_ != 0 ? answer_ : orbe::DefaultMessageBoxButton(type);
    });
  }
  ~BoxCapture() { orbe::SetMessageBoxHandler(nullptr); }
  void Answer(int answer) { answer_ = answer; }

  std::vector<std::string> texts;
  std::vector<std::string> captions;

 private:
  int answer_;
};

}  // namespace orbe_test

#endif  // ORBE_TESTS_SCREENING_SCREENING_TEST_UTIL_H_
