#include "indicators/script_dir.h"

#include <gtest/gtest.h>

namespace {

using orbe::ComposeScriptDir;
using orbe::NormaliseScriptPath;

TEST(ScriptDirTest, TwoParentStepsFromAWindowsStyleFolder) {
  const std::string script_path = NormaliseScriptPath("..\\..\\SCRIPTS\\");
  EXPECT_EQ(script_path, "..\\..\\SCRIPTS");
  EXPECT_EQ(ComposeScriptDir("E:\\TOP\\MID\\LOW\\usr.ini", script_path), "E:\\TOP\\SCRIPTS");
}

TEST(ScriptDirTest, KeepsTheCaseOfAPosixPath) {
  const std::string script_path = NormaliseScriptPath("../../Scripts/");
  EXPECT_EQ(ComposeScriptDir("/home/Ann/top/mid/low/usr.ini", script_path), "/home/Ann/top/Scripts");
  EXPECT_EQ(ComposeScriptDir("/data/usr.ini", NormaliseScriptPath("py")), "/data/py");
  EXPECT_EQ(ComposeScriptDir("/data/usr.ini", ""), "/data");
}

TEST(ScriptDirTest, NormalisesTrailingSeparatorsAndDots) {
  EXPECT_EQ(NormaliseScriptPath("\\"), "\\");  // one character stays
  EXPECT_EQ(NormaliseScriptPath("a/"), "a");
  EXPECT_EQ(NormaliseScriptPath(".."), "../");
  EXPECT_EQ(NormaliseScriptPath("..\\"), "../");
  EXPECT_EQ(NormaliseScriptPath(""), "");
  // ".." alone climbs one folder and leaves nothing to append.
  EXPECT_EQ(ComposeScriptDir("/a/b/usr.ini", NormaliseScriptPath("..")), "/a");
}

TEST(ScriptDirTest, StopsClimbingAtTheTop) {
  // The step that finds no folder left is used up; the rest stays as written.
  EXPECT_EQ(ComposeScriptDir("C:\\usr.ini", "..\\..\\..\\x"), "C:\\..\\..\\x");
  EXPECT_EQ(ComposeScriptDir("usr.ini", "../x"), "./x");
  EXPECT_EQ(ComposeScriptDir("usr.ini", ""), ".");
}

}  // namespace
