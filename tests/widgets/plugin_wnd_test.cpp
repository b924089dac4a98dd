#include "orbe/widgets/plugin_wnd.h"

#include <gtest/gtest.h>

namespace {

TEST(PluginWnd, KeepsAttributesByExactName) {
  CKvxPluginWnd window;
  EXPECT_FALSE(window.SetAttribute("", "x"));
  EXPECT_TRUE(window.SetAttribute("code", "600000"));
  EXPECT_TRUE(window.SetAttribute("code", "000001"));
  EXPECT_EQ(window.GetAttribute("code"), "000001");
  EXPECT_EQ(window.GetAttribute("CODE"), "");
  EXPECT_EQ(window.GetAttributes().size(), 1u);
  window.SendToHost("no", "sink");  // without a container nothing is told, nothing breaks
}

}  // namespace
