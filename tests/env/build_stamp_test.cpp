#include "env/build_stamp.h"

#include <gtest/gtest.h>

#include <regex>

#include "orbe/env.h"

namespace orbe {
namespace {

TEST(BuildStampTest, ParsesCompilerDateAndFormatsTheStamp) {
  const BuildTime when = ParseBuildTime("Dec  6 2026", "09:47:02");
  EXPECT_EQ(when.year, 2026);
  EXPECT_EQ(when.month, 12);
  EXPECT_EQ(when.day, 6);
  EXPECT_EQ(when.hour, 9);
  EXPECT_EQ(BuildStamp(when), "26120609");
  EXPECT_EQ(BuildStamp(ParseBuildTime("Jan 31 2000", "23:00:00")), "0013123");
  EXPECT_EQ(ParseBuildTime("???", nullptr).month, 0);
}

TEST(BuildStampTest, VersionTextHasTheFixedShape) {
  const std::string version = GetThisMoudleVersion();
  EXPECT_TRUE(std::regex_match(version, std::regex(R"(2\.31 PA   :\d{7,8})"))) << version;
  EXPECT_EQ(version.substr(version.find(':') + 1), BuildStamp(ModuleBuildTime()));
}

}  // namespace
}  // namespace orbe
