#include "orbe/widgets/container_drawing.h"

#include <gtest/gtest.h>

#include "orbe/widgets/html_render.h"
#include "widgets/event_log.h"

namespace {

TEST(ContainerDrawing, IdsPerKindAreNeverReusedAndBadGeometryIsRefused) {
  orbe::ContainerDrawing drawing;
  const int first = drawing.AddLine({0, 0, 10, 10, 0, 1, 0});
  const int second = drawing.AddLine({0, 0, 5, 5, 0, 2, 1});
  EXPECT_EQ(drawing.AddLine({0, 0, 1, 1, 0, -1, 0}), 0);
  EXPECT_TRUE(drawing.DeleteLine(first));
  EXPECT_FALSE(drawing.DeleteLine(first));
  const int third = drawing.AddLine({1, 1, 2, 2, 0, 1, 0});
  EXPECT_GT(third, second);
  drawing.ClearAllLine();
  EXPECT_GT(drawing.AddLine({1, 1, 2, 2, 0, 1, 0}), third);

  const int region = drawing.AddBkRegion(0, 0, 100, 50, 0xEEEEEE, 0, 1);
  EXPECT_EQ(drawing.AddBkRegion(0, 0, -1, 50, 0, 0, 0), 0);
  EXPECT_TRUE(drawing.ResetBkRegion(region, 5, 5, 10, 10, 0x00FF00, CLR_DEFAULT, 0));
  EXPECT_EQ(drawing.Regions().at(region).rect.right, 15);
  EXPECT_FALSE(drawing.ResetBkRegion(region + 1, 0, 0, 1, 1, 0, 0, 0));
  EXPECT_EQ(drawing.AddBkText("x", 0, 0, 10, -2, {}, 0, CLR_DEFAULT, 0, true), 0);
}

TEST(ContainerDrawing, TheContainerPageShowsItsDrawnItemsAndOpenMenu) {
  TestContainer t;
  orbe::ContainerDrawing& drawing = t.container.GetDrawing();
  drawing.AddBkRegion(10, 20, 100, 40, 0xCCCCCC, CLR_DEFAULT, 0);
  drawing.AddLine({0, 70, 300, 70, 0x0000FF, 2, 1});
  drawing.AddBkText("\xd7\xdc\xbc\xc6", 10, 80, 200, 20, orbe::FontSpec{"SimSun", 10, 700}, 0x000000,
                    CLR_DEFAULT, 1, true);
  t.container.GetMenu().Append(0, 7, "Copy", false, false, false, -1);
  t.container.GetMenu().Track(50, 50, 0);
  const std::string page = orbe::RenderWindowHtml(t.container);
  EXPECT_NE(page.find("class=\"bkregion\" data-region=\"1\" style=\"position:absolute;left:10px;top:20px;"
                      "width:100px;height:40px;background:#cccccc;"),
            std::string::npos);
  EXPECT_NE(page.find("stroke=\"#ff0000\" stroke-width=\"2\" stroke-dasharray=\"6 3\""), std::string::npos);
  EXPECT_NE(page.find("text-align:center;"), std::string::npos);
  EXPECT_NE(page.find(">\xe6\x80\xbb\xe8\xae\xa1</div>"), std::string::npos);  // "总计"
  EXPECT_NE(page.find("data-item=\"7\">Copy"), std::string::npos);
  EXPECT_LT(page.find("bkregion"), page.find("data-line")) << "regions under lines";
}

}  // namespace
