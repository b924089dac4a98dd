// The catalogue over real files and real scripts in the embedded interpreter.
#include "orbe/indicators/index_mgr.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "catalogue_test_util.h"
#include "indicators/ini_read.h"
#include "orbe/indicators/index_calc.h"

namespace {

using orbe::testing::ReadText;
using orbe::testing::TempFolder;
using orbe::testing::WriteText;

class RecordingNotify : public INotifyIndexMgr {
 public:
  void ReloadedIndexNotify() override { ++reloads; }
  void LoadProcessNotify(float stage_end, float percent) override {
    progress.emplace_back(stage_end, percent);
  }

  int reloads = 0;
  std::vector<std::pair<float, float>> progress;
};

struct UsrSpec {
  std::string name;
  std::string codefile;
  std::vector<std::string> refs;
  int datatype = 1;
};

// A catalogue's three files in a folder of its own, the scripts in
// <folder>/cfg/../Scripts so that the script path takes a parent step.
class Catalogue {
 public:
  Catalogue() : mgr_(CreateIndexMgrInstance()) {
    std::filesystem::create_directories(temp_.File("cfg"));
    std::filesystem::create_directories(ScriptDir());
    WriteText(Hq(),
              "[MAIN]\r\n行情指标个数=1\r\n[指标1]\r\n指标名称=最新价\r\n指标数据类型=1\r\n"
              "结构类型=HQ104\r\n结构偏移=18\r\n结构长度=4\r\n");
    WriteText(Sys(),
              "[MAIN]\r\n系统指标个数=3\r\n"
              "[指标1]\r\n指标名称=营业收入\r\n指标数据类型=1\r\n指标单位类型=1\r\n"
              "[指标2]\r\n指标名称=总股本\r\n指标数据类型=4\r\n指标单位类型=2\r\n"
              "[指标3]\r\n指标名称=流通股本\r\n指标数据类型=0\r\n指标单位类型=2\r\n");
  }
  ~Catalogue() { DeleteIndexMgrInstance(mgr_); }

  std::string Hq() const { return temp_.File("cfg/hq.ini"); }
  std::string Sys() const { return temp_.File("cfg/sys.ini"); }
  std::string Usr() const { return temp_.File("cfg/usr.ini"); }
  std::string ScriptDir() const { return temp_.File("Scripts"); }

  // Module names must be unique in the process: the interpreter keeps them.
  std::string Module(const std::string& stem) const {
    return stem + "_" + std::filesystem::path(temp_.path).filename().string().substr(9);
  }
  void Script(const std::string& module, const std::string& body) const {
    WriteText(ScriptDir() + "/" + module + ".py", body);
  }
  void Users(const std::vector<UsrSpec>& users) const {
    std::string text =
        "[MAIN]\r\n用户指标个数=" + std::to_string(users.size()) + "\r\n脚本路径=..\\Scripts\\\r\n";
    for (std::size_t i = 0; i < users.size(); ++i) {
      text += "[指标" + std::to_string(i + 1) + "]\r\n指标名称=" + users[i].name +
              "\r\n代码文件=" + users[i].codefile + "\r\n指标数据类型=" + std::to_string(users[i].datatype) +
              "\r\n指标引用个数=" + std::to_string(users[i].refs.size()) + "\r\n";
      for (std::size_t r = 0; r < users[i].refs.size(); ++r)
        text += "指标引用" + std::to_string(r + 1) + "=" + users[i].refs[r] + "\r\n";
    }
    WriteText(Usr(), text);
  }
  int Load() { return mgr_->LoadIndexes(Hq(), Sys(), Usr()); }
  std::string UsrName(int section) const {
    return orbe::ReadIniText(Usr(), "指标" + std::to_string(section), "指标名称");
  }

  IIndexMgr& mgr() { return *mgr_; }

 private:
  TempFolder temp_;
  IIndexMgr* mgr_;
};

UsrIndex* AsUsr(IndexBase* index) { return dynamic_cast<UsrIndex*>(index); }

vtParam Double(double value) {
  vtParam param;
  param.type = 1;
  param.dbl = value;
  return param;
}

TEST(IndexMgrTest, LoadsTheThreeFilesAndDerivesUnitTypes) {
  Catalogue cat;
  const std::string sum = cat.Module("sum");
  cat.Script(sum, "def " + sum + "(a, b):\n    return a + b\n");
  cat.Users({{"价收和", sum, {"最新价", "营业收入"}},
             {"股本和", sum, {"总股本", "流通股本"}},
             {"股本和2", sum, {"股本和", "总股本"}}});
  RecordingNotify notify;
  EXPECT_EQ(cat.mgr().SetNotify(&notify), nullptr);
  ASSERT_EQ(cat.Load(), 1);

  const std::vector<IndexBase*> all = cat.mgr().GetAllIndexes();
  ASSERT_EQ(all.size(), 7u);
  EXPECT_EQ(all[0]->kind, INDEX_KIND_HQ);
  EXPECT_EQ(all[1]->kind, INDEX_KIND_SYS);
  EXPECT_EQ(all[6]->name, "股本和2");
  EXPECT_EQ(cat.mgr().FindIndex("营业收入"), all[1]);
  EXPECT_EQ(cat.mgr().FindIndex("营业"), nullptr);
  EXPECT_EQ(cat.mgr().FindIndex("价收和")->unittype, 0);  // units 0 and 1 differ
  EXPECT_EQ(cat.mgr().FindIndex("股本和")->unittype, 2);
  EXPECT_EQ(cat.mgr().FindIndex("股本和2")->unittype, 2);  // through a user indicator
  EXPECT_EQ(cat.mgr().GetScriptDir(), cat.ScriptDir());    // case kept on the way to the disk
  ASSERT_FALSE(notify.progress.empty());
  EXPECT_EQ(notify.progress.back(), (std::pair<float, float>(100, 100)));
  EXPECT_EQ(notify.progress.front().first, 90);
  EXPECT_FLOAT_EQ(notify.progress.front().second, 100.0f / 3);

  std::vector<IndexBase*> bases;
  EXPECT_EQ(cat.mgr().GetBaseIndexesByName("股本和2", bases), 1);
  EXPECT_EQ(bases, (std::vector<IndexBase*>{all[2], all[3], all[2]}));
  EXPECT_EQ(cat.mgr().GetBaseIndexesByName("总股本", bases), 0);

  std::map<std::string, vtParam> values{{"总股本", vtParam()}, {"流通股本", vtParam()}};
  values["总股本"].type = 4;
  values["总股本"].i64 = 5'000'000'000;
  values["流通股本"].type = 0;
  values["流通股本"].i32 = 7;
  vtParam result;
  CString err;
  ASSERT_EQ(cat.mgr().CalcUsrIndexValueByName("股本和2", values, result, err), 1) << err;
  EXPECT_EQ(result.type, 1);
  EXPECT_DOUBLE_EQ(result.dbl, 10'000'000'007.0);
  values.erase("流通股本");
  EXPECT_EQ(cat.mgr().CalcUsrIndexValueByName("股本和2", values, result, err), 0);  // a value is missing

  EXPECT_EQ(cat.Load(), 0);  // a loaded catalogue loads nothing more
  EXPECT_EQ(cat.mgr().GetAllIndexes().size(), 7u);
  EXPECT_EQ(cat.mgr().ReloadIndexes(), 1);
  EXPECT_EQ(cat.mgr().GetAllIndexes().size(), 7u);
  cat.mgr().SetNotify(nullptr);
}

TEST(IndexMgrTest, AFailedLoadLeavesTheCatalogueEmpty) {
  Catalogue cat;
  const std::string one = cat.Module("one");
  cat.Script(one, "def " + one + "(a):\n    return a\n");
  const auto load_fails = [&](const std::vector<UsrSpec>& users) {
    cat.Users(users);
    const int loaded = cat.Load();
    const bool empty = cat.mgr().GetAllIndexes().empty();
    cat.mgr().ClearIndexes();
    return loaded == 0 && empty;
  };
  EXPECT_TRUE(load_fails({{"最新价", one, {"营业收入"}}}));              // a name taken by a quote indicator
  EXPECT_TRUE(load_fails({{"u", one, {"没有这个指标"}}}));               // an unknown reference
  EXPECT_TRUE(load_fails({{"u", cat.Module("absent"), {"营业收入"}}}));  // no such script
  EXPECT_TRUE(load_fails({{"a", one, {"b"}}, {"b", one, {"a"}}}));       // a cycle
  cat.Users({{"u", one, {"营业收入"}}});
  EXPECT_EQ(cat.mgr().LoadIndexes(cat.Hq(), cat.Sys() + ".txt", cat.Usr()), 0);
  EXPECT_EQ(cat.Load(), 1);
}

TEST(IndexMgrTest, ChainsOfFiveHundredLoadAndLongerOnesDoNot) {
  Catalogue cat;
  const std::string one = cat.Module("chain");
  cat.Script(one, "def " + one + "(a):\n    return a\n");
  const auto chain = [&](int length) {
    std::vector<UsrSpec> users;
    for (int i = 1; i <= length; ++i)
      users.push_back(
          {"u" + std::to_string(i), one, {i == length ? "营业收入" : "u" + std::to_string(i + 1)}});
    return users;
  };
  cat.Users(chain(500));
  EXPECT_EQ(cat.Load(), 1);
  cat.mgr().ClearIndexes();
  cat.Users(chain(501));
  EXPECT_EQ(cat.Load(), 0);
}

TEST(IndexMgrTest, DeleteRenumbersTheUserFile) {
  Catalogue cat;
  const std::string one = cat.Module("one");
  cat.Script(one, "def " + one + "(a):\n    return a\n");
  cat.Users({{"甲", one, {"营业收入"}}, {"乙", one, {"营业收入"}}, {"丙", one, {"甲"}}});
  ASSERT_EQ(cat.Load(), 1);
  RecordingNotify notify;
  cat.mgr().SetNotify(&notify);
  CString err;
  EXPECT_EQ(cat.mgr().DeleteIndexByName("营业收入", err), 0);
  EXPECT_EQ(err, "非用户指标，不能删除");
  EXPECT_EQ(cat.mgr().DeleteIndexByName("甲", err), 0);
  EXPECT_EQ(err, "指标被引用,不能删除");
  EXPECT_EQ(cat.mgr().DeleteUsrIndex(nullptr, err), 0);
  ASSERT_EQ(cat.mgr().DeleteIndexByName("乙", err), 1);
  EXPECT_EQ(notify.reloads, 1);
  EXPECT_EQ(cat.mgr().FindIndex("乙"), nullptr);
  EXPECT_EQ(orbe::ReadIniInt(cat.Usr(), "MAIN", "用户指标个数", -1), 2);
  EXPECT_EQ(orbe::ReadIniText(cat.Usr(), "MAIN", "脚本路径"), "..\\Scripts");
  EXPECT_EQ(cat.UsrName(1), "甲");
  EXPECT_EQ(cat.UsrName(2), "丙");
  EXPECT_EQ(orbe::ReadIniText(cat.Usr(), "指标2", "指标引用1"), "甲");
  EXPECT_EQ(ReadText(cat.Usr()).find("[指标3]"), std::string::npos);
  cat.mgr().SetNotify(nullptr);
}

TEST(IndexMgrTest, SaveCreatesReplacesAndRefusesCycles) {
  Catalogue cat;
  const std::string one = cat.Module("one");
  const std::string twice = cat.Module("twice");
  cat.Script(one, "def " + one + "(a):\n    return a\n");
  cat.Script(twice, "def " + twice + "(a):\n    return a * 2\n");
  cat.Users({{"甲", one, {"营业收入"}}, {"乙", one, {"甲"}}});
  ASSERT_EQ(cat.Load(), 1);
  RecordingNotify notify;
  cat.mgr().SetNotify(&notify);
  CString err;
  EXPECT_EQ(cat.mgr().SaveUsrIndex("营业收入", "", 1, {"最新价"}, one, err), nullptr);
  EXPECT_EQ(err, "不能修改非用户指标");
  EXPECT_EQ(cat.mgr().SaveUsrIndex("丁", "", 1, {}, one, err), nullptr);
  EXPECT_EQ(err, "请选择待计算指标");
  EXPECT_EQ(cat.mgr().SaveUsrIndex("丁", "", 1, {"没有"}, one, err), nullptr);
  EXPECT_EQ(err, "引用未定义的指标");

  UsrIndex* created = cat.mgr().SaveUsrIndex("丙", "说明", 1, {"营业收入"}, twice, err);
  ASSERT_NE(created, nullptr) << err;
  EXPECT_EQ(cat.mgr().GetAllIndexes().back(), created);
  EXPECT_EQ(created->unittype, 1);
  EXPECT_EQ(cat.UsrName(3), "丙");
  EXPECT_EQ(orbe::ReadIniText(cat.Usr(), "指标3", "指标说明"), "说明");

  // Replacing 甲 moves it to the end; 乙 now reads the new object.
  UsrIndex* replaced = cat.mgr().SaveUsrIndex("甲", "", 1, {"营业收入"}, twice, err);
  ASSERT_NE(replaced, nullptr) << err;
  EXPECT_EQ(AsUsr(cat.mgr().FindIndex("乙"))->refs.at(0), replaced);
  EXPECT_EQ(cat.UsrName(1), "乙");
  EXPECT_EQ(cat.UsrName(3), "甲");
  std::map<std::string, vtParam> values{{"营业收入", Double(21)}};
  vtParam result;
  ASSERT_EQ(cat.mgr().CalcUsrIndexValueByName("乙", values, result, err), 1) << err;
  EXPECT_DOUBLE_EQ(result.dbl, 42);

  // 甲 reading 乙, which reads 甲: refused, the old 甲 stays in use.
  const int reloads = notify.reloads;
  EXPECT_EQ(cat.mgr().SaveUsrIndex("甲", "", 1, {"乙"}, one, err), nullptr);
  EXPECT_EQ(err, "指标互相引用");
  EXPECT_EQ(cat.mgr().FindIndex("甲"), replaced);
  EXPECT_EQ(AsUsr(cat.mgr().FindIndex("乙"))->refs.at(0), replaced);
  EXPECT_EQ(notify.reloads, reloads);
  err.clear();
  EXPECT_EQ(cat.mgr().SaveUsrIndex("甲", "", 1, {"甲"}, one, err), nullptr);  // itself
  EXPECT_EQ(err, "指标互相引用");

  IIndexMgr* fresh = CreateIndexMgrInstance();
  ASSERT_EQ(fresh->LoadIndexes(cat.Hq(), cat.Sys(), cat.Usr()), 1);  // the rewritten file loads
  EXPECT_EQ(fresh->GetAllIndexes().size(), 7u);
  DeleteIndexMgrInstance(fresh);
  cat.mgr().SetNotify(nullptr);
}

TEST(IndexMgrTest, ProcessLoadIndexLoadsBehindTheDialog) {
  Catalogue cat;
  const std::string one = cat.Module("one");
  cat.Script(one, "def " + one + "(a):\n    return a\n");
  cat.Users({{"甲", one, {"营业收入"}}});
  RecordingNotify window;
  cat.mgr().SetNotify(&window);
  EXPECT_TRUE(ProcessLoadIndex(&cat.mgr(), cat.Hq().c_str(), cat.Sys().c_str(), cat.Usr().c_str()));
  EXPECT_EQ(cat.mgr().GetAllIndexes().size(), 5u);
  EXPECT_TRUE(window.progress.empty());              // the dialog observed the load
  EXPECT_EQ(cat.mgr().SetNotify(nullptr), &window);  // and gave the observer back

  EXPECT_FALSE(ProcessLoadIndex(&cat.mgr(), cat.Hq().c_str(), cat.Sys().c_str(), cat.Usr().c_str()));
  cat.mgr().ClearIndexes();
  EXPECT_FALSE(ProcessLoadIndex(&cat.mgr(), cat.Hq().c_str(), "bad.txt", cat.Usr().c_str()));
  EXPECT_FALSE(ProcessLoadIndex(nullptr, "", "", ""));
}

}  // namespace
