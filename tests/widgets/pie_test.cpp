#include "orbe/widgets/pie.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "orbe/widgets/html_writer.h"
#include "widgets/event_log.h"

namespace {

using orbe::WidgetKind;

int Count(const std::string& text, const std::string& what) {
  int count = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

TEST(Pie, ElementsAreNamedByUniqueLabelsWithNonNegativeValues) {
  CKvxPieChart pie;
  EXPECT_TRUE(pie.InsertItem("A", "", 30, CLR_NONE));
  EXPECT_TRUE(pie.InsertItem("B", "", 10, 0x0000FF));
  EXPECT_TRUE(pie.InsertItem("C", "", 60, CLR_NONE));
  EXPECT_FALSE(pie.InsertItem("A", "", 5, CLR_NONE));
  EXPECT_FALSE(pie.InsertItem("D", "", -1, CLR_NONE));
  EXPECT_FALSE(pie.InsertItem("E", "", std::numeric_limits<double>::quiet_NaN(), CLR_NONE));
  EXPECT_DOUBLE_EQ(pie.GetShare(2), 0.6);
  EXPECT_FALSE(pie.UpdateItemLabel("A", "B"));
  EXPECT_TRUE(pie.UpdateItemLabel("A", "A2"));
  EXPECT_EQ(pie.GetElementID("A2"), 0);
  EXPECT_FALSE(pie.UpdateItemValue("B", -3));

  pie.SortElements(false);
  EXPECT_EQ(pie.GetElements()[0].label, "C");
  EXPECT_EQ(pie.GetElements()[2].label, "B");
  pie.SortToOriginalOrder();  // the insertion order, with the renamed label
  EXPECT_EQ(pie.GetElements()[0].label, "A2");
  EXPECT_EQ(pie.GetElements()[1].label, "B");

  EXPECT_TRUE(pie.SetSelectedElement("C"));
  EXPECT_TRUE(pie.RemoveItem("C"));
  EXPECT_EQ(pie.GetSelectedElement(), "") << "removing the selected element clears the selection";
  EXPECT_FALSE(pie.SetSelectedElement("C"));
  EXPECT_FALSE(pie.SetElementTransparency("B", 1.5));
}

TEST(Pie, ClickChangesTheSelectionAndRaisesItOnce) {
  TestContainer t;
  int id = 0;
  auto& pie = t.Add<CKvxPieChart>(WidgetKind::kPie, "Holdings", &id);
  EXPECT_EQ(pie.GetPieChartTitle(), "Holdings");
  pie.InsertItem("\xd2\xf8\xd0\xd0", "", 1, CLR_NONE);
  pie.InsertItem("B", "", 1, CLR_NONE);
  EXPECT_TRUE(pie.ClickElement(0));
  EXPECT_TRUE(pie.ClickElement(0));
  EXPECT_FALSE(pie.ClickElement(2));
  EXPECT_EQ(t.log.Take(),
            (std::vector<std::string>{"OnPieSelChanged " + std::to_string(id) + " 0 \xd2\xf8\xd0\xd0"}));
  EXPECT_EQ(pie.GetSelectedElement(), "\xd2\xf8\xd0\xd0");
}

TEST(Pie, RendersOneSlicePerShareAsSvg) {
  TestContainer t;
  auto& pie = t.Add<CKvxPieChart>(WidgetKind::kPie, "\xb9\xc9\xb1\xbe");  // "股本"
  pie.MoveWindow(0, 0, 200, 200);
  pie.InsertItem("A", "", 1, 0x0000FF);
  pie.InsertItem("Zero", "", 0, CLR_NONE);
  pie.InsertItem("B", "", 3, CLR_NONE);
  pie.SetSelectedElement("B");
  orbe::HtmlWriter out;
  pie.RenderHtml(out);
  const std::string svg = out.str();
  EXPECT_EQ(svg.rfind("<svg class=\"pie\"", 0), 0u);
  EXPECT_EQ(Count(svg, "class=\"slice\""), 2) << "a zero value draws no slice";
  EXPECT_EQ(Count(svg, " 0 0 1 "), 1) << "A (a quarter) is a small arc";
  EXPECT_EQ(Count(svg, " 0 1 1 "), 1) << "B (three quarters) takes the large arc";
  EXPECT_NE(svg.find("fill=\"#ff0000\""), std::string::npos);
  EXPECT_NE(svg.find("stroke-width=\"2\" data-label=\"B\""), std::string::npos) << "the selection is marked";
  EXPECT_NE(svg.find("75.0%"), std::string::npos);
  EXPECT_NE(svg.find("\xe8\x82\xa1\xe6\x9c\xac"), std::string::npos) << "the title in UTF-8";

  pie.RemoveItem("A");
  orbe::HtmlWriter whole;
  pie.RenderHtml(whole);
  EXPECT_EQ(Count(whole.str(), "<circle class=\"slice\""), 1) << "one element is a full circle";
}

}  // namespace
