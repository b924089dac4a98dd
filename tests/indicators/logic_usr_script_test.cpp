// User-indicator scripts: the test before saving, the catalogue's call with
// value conversion, and the stand-alone calculator.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "orbe/indicators/index_calc.h"
#include "orbe/script/script_env.h"

namespace {

// A user indicator's module and function, as the catalogue holds them.
struct UsrFunction {
  orbe::ScriptRef module;
  orbe::ScriptRef function;
  bool Load(const std::string& codefile, CString& err) {
    return orbe::LoadUsrFunction(codefile, module, function, err);
  }
  orbe::ScriptCallResult Call(const std::vector<vtParam>& args, int type, vtParam& result, CString& err) const {
    return orbe::CallUsrFunction(function, args, type, result, err);
  }
  void Release() {
    function.reset();
    module.reset();
  }
  bool IsLoaded() const { return static_cast<bool>(function); }
};

std::string MakeTempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orbe-usr-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return std::string();
  return pattern;
}

vtParam Value(int type, double number, std::string text = std::string()) {
  vtParam value;
  value.type = type;
  value.i32 = static_cast<int>(number);
  value.dbl = number;
  value.i64 = static_cast<std::int64_t>(number);
  value.str = std::move(text);
  return value;
}

class UsrScriptTest : public testing::Test {
 protected:
  void SetUp() override {
    InitScriptEvn();
    dir_ = MakeTempFolder();
    ASSERT_FALSE(dir_.empty());
    AddPyScriptPath(dir_);
  }
  void TearDown() override {
    DelPyScriptPath(dir_);
    std::filesystem::remove_all(dir_);
  }
  // Script files are UTF-8 Python source.
  void Write(const std::string& name, const std::string& source) {
    std::ofstream(dir_ + "/" + name + ".py", std::ios::binary) << source;
  }
  std::string Test(const std::string& codefile, const std::vector<int>& types) {
    CString err;
    return orbe::TestUsrScriptFile(dir_, codefile, types, err) ? "ok" : err;
  }

  std::string dir_;
};

TEST_F(UsrScriptTest, TheTestBeforeSavingRefusesBrokenScripts) {
  EXPECT_EQ(Test("orbe_u_missing", {1}), "找不到py文件");
  EXPECT_EQ(Test("../orbe_u_missing", {1}), "找不到py文件");
  Write("orbe_u_log", "# writes to errorlog\ndef orbe_u_log(a):\n    return a\n");
  EXPECT_EQ(Test("orbe_u_log", {1}), "不能引用errorlog字符串");
  Write("orbe_u_noret", "def orbe_u_noret(a):\n    a = a + 1\n");
  EXPECT_EQ(Test("orbe_u_noret", {1}), "没有返回值");
  Write("orbe_u_syntax", "def orbe_u_syntax(a)\n    return a\n");
  EXPECT_EQ(Test("orbe_u_syntax", {1}), "语法错误");
  Write("orbe_u_raise", "def orbe_u_raise(a):\n    return a / 0\n");
  EXPECT_EQ(Test("orbe_u_raise", {1}), "语法错误");
  Write("orbe_u_named", "def other(a):\n    return a\n");
  EXPECT_EQ(Test("orbe_u_named", {1}), "语法错误");
  Write("orbe_u_ok", "def orbe_u_ok(a):\n    return a\n");
  EXPECT_EQ(Test("orbe_u_ok", {9}), "语法错误");  // no test value for that type
  EXPECT_EQ(Test("orbe_u_ok", {1}), "ok");
  EXPECT_EQ(Py_PrintAndGetErr(), "");  // no error is left pending
}

TEST_F(UsrScriptTest, TestValuesFollowTheReferencedTypesAndEditsTakeEffect) {
  // None unless every argument is the documented test value.
  Write("orbe_u_types",
        "def orbe_u_types(a, b, c, d, e):\n"
        "    ok = [type(x) for x in (a, b, c)] == [float] * 3 and a == b == c == 1.0\n"
        "    return 1 if ok and d == 'test' and type(e) is int and e == 1 else None\n");
  EXPECT_EQ(Test("orbe_u_types", {0, 1, 2, 3, 4}), "ok");
  Write("orbe_u_edit", "def orbe_u_edit(a):\n    pass\n");
  EXPECT_EQ(Test("orbe_u_edit", {1}), "没有返回值");
  Write("orbe_u_edit", "def orbe_u_edit(a):\n    return a * 2 + 1\n");
  EXPECT_EQ(Test("orbe_u_edit", {1}), "ok");
  CString err;
  UsrFunction script;
  ASSERT_TRUE(script.Load("orbe_u_edit", err)) << err;
  vtParam result;
  EXPECT_EQ(script.Call({Value(1, 2)}, 1, result, err), orbe::ScriptCallResult::kValue);
  EXPECT_EQ(result.dbl, 5.0);
}

TEST_F(UsrScriptTest, ResultsConvertByTheIndicatorsType) {
  Write("orbe_u_value", "def orbe_u_value(a, b):\n    return a + b\n");
  UsrFunction script;
  CString err;
  ASSERT_TRUE(script.Load("orbe_u_value", err)) << err;
  const std::vector<vtParam> args = {Value(0, 2), Value(1, 0.9)};
  vtParam result;
  ASSERT_EQ(script.Call(args, 0, result, err), orbe::ScriptCallResult::kValue);
  EXPECT_EQ(result.type, 0);
  EXPECT_EQ(result.i32, 2);  // 2.9 truncated
  ASSERT_EQ(script.Call({Value(1, -2), Value(1, -0.9)}, 2, result, err), orbe::ScriptCallResult::kValue);
  EXPECT_EQ(result.i32, -2);
  ASSERT_EQ(script.Call(args, 1, result, err), orbe::ScriptCallResult::kValue);
  EXPECT_DOUBLE_EQ(result.dbl, 2.9);
  ASSERT_EQ(script.Call(args, 4, result, err), orbe::ScriptCallResult::kValue);
  EXPECT_EQ(result.i64, 2);
  ASSERT_EQ(script.Call(args, 3, result, err), orbe::ScriptCallResult::kValue);
  EXPECT_EQ(result.str, "2.9");
  ASSERT_EQ(script.Call(args, 7, result, err), orbe::ScriptCallResult::kValue);
  EXPECT_EQ(result.type, 5);
  // 64-bit integers cross as int, out-of-range results saturate or fail.
  const std::int64_t big = std::int64_t{1} << 40;
  ASSERT_EQ(script.Call({Value(4, static_cast<double>(big)), Value(4, 1)}, 4, result, err),
            orbe::ScriptCallResult::kValue);
  EXPECT_EQ(result.i64, big + 1);
  ASSERT_EQ(script.Call({Value(1, 1e20), Value(1, 0)}, 0, result, err), orbe::ScriptCallResult::kValue);
  EXPECT_EQ(result.i32, INT_MAX);
  ASSERT_EQ(script.Call({Value(1, 1e300), Value(1, 1e300)}, 4, result, err), orbe::ScriptCallResult::kError);
  EXPECT_NE(err.find("OverflowError"), std::string::npos) << err;
  EXPECT_EQ(script.Call({Value(1, 1), Value(6, 1)}, 1, result, err), orbe::ScriptCallResult::kError);
  EXPECT_EQ(err, "参数类型错误");
  // A failing call gives the interpreter's text; None gives no text.
  EXPECT_EQ(script.Call({Value(1, 1), Value(3, 0, "x")}, 1, result, err), orbe::ScriptCallResult::kError);
  EXPECT_NE(err.find("TypeError"), std::string::npos) << err;
  Write("orbe_u_none", "def orbe_u_none(a):\n    return None\n");
  UsrFunction none;
  ASSERT_TRUE(none.Load("orbe_u_none", err));
  EXPECT_EQ(none.Call({Value(1, 1)}, 1, result, err), orbe::ScriptCallResult::kNone);
  script.Release();
  EXPECT_FALSE(script.IsLoaded());
  EXPECT_EQ(script.Call(args, 1, result, err), orbe::ScriptCallResult::kError);
}

TEST_F(UsrScriptTest, TextsCrossAsGbk) {
  // U+6587 is "\xce\xc4" in GBK; the argument arrives as one character.
  Write("orbe_u_text", "def orbe_u_text(s):\n    return s + '\\u6587' if len(s) == 1 else None\n");
  UsrFunction script;
  CString err;
  ASSERT_TRUE(script.Load("orbe_u_text", err)) << err;
  vtParam result;
  ASSERT_EQ(script.Call({Value(3, 0, "\xd6\xd0")}, 3, result, err), orbe::ScriptCallResult::kValue);
  EXPECT_EQ(result.str, "\xd6\xd0\xce\xc4");
  EXPECT_FALSE(script.Load("orbe_u_absent", err));
  EXPECT_NE(err.find("orbe_u_absent"), std::string::npos) << err;
}

TEST_F(UsrScriptTest, TheStandAloneCalculator) {
  const std::unique_ptr<IIndexCalcParticle, void (*)(IIndexCalcParticle*)> particle(
      CreateIndexCalcParticle(), DeleteIndexCalcParticle);
  ASSERT_NE(particle, nullptr);
  const std::string sub = dir_ + "/sub";
  std::filesystem::create_directory(sub);
  std::ofstream(sub + "/orbe_particle.py", std::ios::binary)
      << "def orbe_particle(a, b):\n    return None if a < 0 else a * b\n";
  std::string err;
  ASSERT_TRUE(particle->LoadScript(sub + "/orbe_particle.py", err)) << err;
  vtParam result;
  result.type = 1;
  ASSERT_TRUE(particle->Calc({Value(1, 1.5), Value(0, 2)}, result, err)) << err;
  EXPECT_EQ(result.dbl, 3.0);
  EXPECT_FALSE(particle->Calc({Value(1, -1), Value(0, 2)}, result, err));
  EXPECT_EQ(err, "没有返回值");
  EXPECT_FALSE(particle->Calc({Value(1, 1), Value(8, 2)}, result, err));
  EXPECT_EQ(err, "参数类型错误");
  result.type = 5;
  EXPECT_FALSE(particle->Calc({Value(1, 1), Value(1, 2)}, result, err));
  EXPECT_EQ(err, "返回值类型错误");
  // A reload runs the edited file.
  std::ofstream(sub + "/orbe_particle.py", std::ios::binary)
      << "def orbe_particle(a, b):\n    return a + b + 100\n";
  ASSERT_TRUE(particle->ReloadScript());
  result.type = 0;
  ASSERT_TRUE(particle->Calc({Value(1, 1), Value(1, 2)}, result, err)) << err;
  EXPECT_EQ(result.i32, 103);
  particle->Release();
  EXPECT_FALSE(particle->Calc({Value(1, 1), Value(1, 2)}, result, err));
  // The path stays: a reload brings the script back.
  ASSERT_TRUE(particle->ReloadScript());
  EXPECT_TRUE(particle->Calc({Value(1, 1), Value(1, 2)}, result, err)) << err;
  EXPECT_FALSE(particle->LoadScript(sub + "/.py", err));
  EXPECT_FALSE(particle->LoadScript(sub + "/orbe_particle_absent.py", err));
  EXPECT_NE(err.find("ModuleNotFoundError"), std::string::npos) << err;
  DelPyScriptPath(sub);
}

}  // namespace
