#include "orbe/dictionary/field_name.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

TEST(GeneratedFieldName, IsPrintfsPaddedName) {
  for (const int number : {0, 5, 42, 999, 1000, 32767, -1, -5, -99, -100, -32768, 2147483647, -2147483647 - 1}) {
    char expected[32];
    std::snprintf(expected, sizeof expected, "T%03d", number);
    EXPECT_EQ(orbe::GeneratedFieldName(number), expected) << number;
  }
}

}  // namespace
