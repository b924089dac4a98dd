#include <gtest/gtest.h>

#include "orbe/widgets/buttons.h"
#include "orbe/widgets/combos.h"
#include "orbe/widgets/html_render.h"
#include "orbe/widgets/pie.h"
#include "orbe/widgets/plugin_wnd.h"
#include "orbe/widgets/trade_quote.h"
#include "widgets/event_log.h"

namespace {

using orbe::WidgetKind;
using Events = std::vector<std::string>;

TEST(KvxContainerControls, EveryScriptKindIsCreatedByAddWnd) {
  TestContainer t;
  for (int kind = 0; kind <= static_cast<int>(WidgetKind::kVChart); ++kind) {
    int id = 0;
    const bool made = t.container.AddWnd(0, 0, 50, 20, id, kind, "");
    const bool owner_made = kind == static_cast<int>(WidgetKind::kSplitter) ||
                            kind == static_cast<int>(WidgetKind::kContainer);
    EXPECT_EQ(made, !owner_made) << "kind " << kind;
    if (made) {
      EXPECT_EQ(t.container.GetWndType(id), kind);
    }
  }
  int id = 0;
  EXPECT_FALSE(t.container.AddWnd(0, 0, 50, 20, id, static_cast<int>(WidgetKind::kVChart) + 1, ""));
}

TEST(KvxContainerControls, SisterAddsPassTheirTextsAndOptions) {
  TestContainer t;
  int button = 0, check = 0, pie = 0, quote = 0, plugin = 0, combo = 0;
  ASSERT_TRUE(t.container.Button_AddWnd(0, 0, 60, 20, button, "\xc8\xb7\xb6\xa8"));
  ASSERT_TRUE(t.container.Check_AddWnd(0, 20, 60, 20, check, "all"));
  ASSERT_TRUE(t.container.Pie_AddWnd(0, 40, 200, 200, pie, "Shares"));
  ASSERT_TRUE(t.container.Combo_AddWnd(0, 240, 100, 20, combo));
  EXPECT_FALSE(t.container.Trade_Quote_AddWnd(0, 0, 10, 10, quote, 11));
  EXPECT_EQ(quote, 0);
  ASSERT_TRUE(t.container.Trade_Quote_AddWnd(200, 0, 180, 300, quote, 10));
  ASSERT_TRUE(t.container.AddPluginWnd(400, 0, 200, 200, plugin, 42, 7));
  EXPECT_EQ(t.container.GetWidget<CKvxTradeQuote>(quote)->GetLevelCount(), 10);
  EXPECT_EQ(t.container.GetWidget<CKvxPieChart>(pie)->GetPieChartTitle(), "Shares");
  EXPECT_EQ(t.container.GetWidget<CKvxPluginWnd>(plugin)->GetPluginID(), 42);
  EXPECT_EQ(t.container.GetWidget<CKvxPluginWnd>(plugin)->GetPluginOption(), 7);
  EXPECT_EQ(t.container.GetWidget<CKvxComboBox>(button), nullptr) << "another class";

  const std::string page = orbe::RenderWindowHtml(t.container);
  EXPECT_NE(page.find("<button style=\"width:100%;height:100%\">\xe7\xa1\xae\xe5\xae\x9a</button>"),
            std::string::npos);
  EXPECT_NE(page.find("<svg class=\"pie\""), std::string::npos);
  EXPECT_NE(page.find("<table class=\"quote\">"), std::string::npos);
}

TEST(KvxContainerControls, EventsReachTheListenerAndPluginMessagesTheirCallback) {
  TestContainer t;
  int button = 0, plugin = 0;
  t.container.Button_AddWnd(0, 0, 60, 20, button, "go");
  t.container.AddPluginWnd(0, 20, 60, 20, plugin, 1, 0);
  t.container.GetWidget<CKvxButton>(button)->Click();
  t.container.GetWidget<CKvxPluginWnd>(plugin)->SendToHost("ready", "1");
  EXPECT_EQ(t.log.Take(), (Events{"OnButtonClicked " + std::to_string(button), "plugin ready=1"}));

  // A retired control has no id: whatever it does is not reported.
  CKvxButton* retired = t.container.GetWidget<CKvxButton>(button);
  t.container.RecycleWndPool(true);
  EXPECT_TRUE(retired->Click());
  EXPECT_TRUE(t.log.events.empty());
}

}  // namespace
