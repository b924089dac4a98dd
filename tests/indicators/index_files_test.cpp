#include "indicators/index_files.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "catalogue_test_util.h"

namespace {

using orbe::testing::TempFolder;
using orbe::testing::WriteText;

// Keeps what a reader hands over and refuses a taken name, as the catalogue does.
class CollectingSink : public orbe::IndexSink {
 public:
  bool Add(std::unique_ptr<IndexBase> index) override {
    if (!names.insert(index->name).second) return false;
    indexes.push_back(std::move(index));
    return true;
  }
  void Progress(float stage_end, float percent) override { progress.emplace_back(stage_end, percent); }

  template <typename T>
  const T& At(std::size_t i) const {
    return dynamic_cast<const T&>(*indexes.at(i));
  }

  std::set<std::string> names;
  std::vector<std::unique_ptr<IndexBase>> indexes;
  std::vector<std::pair<float, float>> progress;
};

TEST(IndexFilesTest, QuoteFileClampsNegativeOffsetsAndLengths) {
  const TempFolder temp;
  const std::string path = temp.File("hq.ini");
  WriteText(path,
            "[MAIN]\r\n行情指标个数=2\r\n"
            "[指标1]\r\n指标数据类型=1\r\n指标单位类型=1\r\n指标名称=最新价\r\n指标别名=现价\r\n"
            "指标说明=最近成交价\r\n结构类型=HQ104\r\n结构偏移=-4\r\n结构长度=-8\r\n"
            "[指标2]\r\n指标名称=成交量\r\n结构偏移=40\r\n结构长度=8\r\n");
  CollectingSink sink;
  ASSERT_TRUE(orbe::ReadHqIndexFile(path, sink));
  ASSERT_EQ(sink.indexes.size(), 2u);
  const auto& price = sink.At<HqIndex>(0);
  EXPECT_EQ(price.kind, INDEX_KIND_HQ);
  EXPECT_EQ(price.datatype, DATA_TYPE_DOUBLE);
  EXPECT_EQ(price.unittype, 1);
  EXPECT_EQ(price.name, "最新价");
  EXPECT_EQ(price.alias, "现价");
  EXPECT_EQ(price.info, "最近成交价");
  EXPECT_EQ(price.structtype, "HQ104");
  EXPECT_EQ(price.structoffset, 0);
  EXPECT_EQ(price.structlength, 0);
  const auto& volume = sink.At<HqIndex>(1);
  EXPECT_EQ(volume.datatype, DATA_TYPE_INT);
  EXPECT_EQ(volume.structoffset, 40);
  EXPECT_EQ(volume.structlength, 8);
  EXPECT_TRUE(sink.progress.empty());  // the quote file reports no progress
}

TEST(IndexFilesTest, SystemIniReadsParametersAndReportsProgress) {
  const TempFolder temp;
  const std::string path = temp.File("sys.INI");
  WriteText(path,
            "[MAIN]\r\n系统指标个数=2\r\n"
            "[指标1]\r\n指标数据类型=1\r\n指标单位类型=1\r\n指标名称=营业收入\r\n指标表名=t100000040\r\n"
            "指标字段=T005\r\n指标树=财务\\利润表\r\n指标键值=T001\r\n附加条件=T003=1\r\n特殊处理=2\r\n"
            "指标键值类型=2\r\n指标参数个数=2\r\n指标参数标记1=$P1$\r\n指标型参1=T002\r\n"
            "指标参数标记2=$P2$\r\n"
            "[指标2]\r\n指标名称=总股本\r\n");
  CollectingSink sink;
  ASSERT_TRUE(orbe::ReadSysIndexFile(path, sink));
  ASSERT_EQ(sink.indexes.size(), 2u);
  const auto& revenue = sink.At<SysIndex>(0);
  EXPECT_EQ(revenue.tablename, "t100000040");
  EXPECT_EQ(revenue.tablefield, "T005");
  EXPECT_EQ(revenue.tree, "财务\\利润表");
  EXPECT_EQ(revenue.key, "T001");
  EXPECT_EQ(revenue.condition, "T003=1");
  EXPECT_EQ(revenue.specialtype, 2);
  EXPECT_EQ(revenue.keytype, 2);
  ASSERT_EQ(revenue.params.size(), 2u);
  EXPECT_EQ(revenue.params[0].flag, "$P1$");
  EXPECT_EQ(revenue.params[0].field, "T002");
  EXPECT_EQ(revenue.params[1].flag, "$P2$");
  EXPECT_EQ(revenue.params[1].field, "");
  EXPECT_EQ(sink.progress, (std::vector<std::pair<float, float>>{{90, 50}, {90, 100}}));
}

TEST(IndexFilesTest, SystemXmlReadsEveryChildWhateverTheCount) {
  const TempFolder temp;
  const std::string path = temp.File("sys.Xml");
  WriteText(path,
            "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n"
            "<indexes count=\"2\">\n"
            " <index datetype=\"1\" unittype=\"1\" name=\"净利润\" alias=\"归母净利\" info=\"i\" "
            "tablename=\"t100000040\" tablefield=\"T007\" tree=\"财务\" key=\"T001\" condition=\"c\" "
            "specialtype=\"1\" keytype=\"2\" id=\"N1\">\n"
            "  <param flag=\"$RQ$\" field=\"T002\"/>\n"
            " </index>\n"
            " <index tql=\"1\" datetype=\"3\" name=\"行业名称\" tree=\"T\">\n"
            "  <p flag=\"F1\"/><p flag=\"F2\" constname=\"A\"/><p constname=\"B\"/>\n"
            " </index>\n"
            " <anything tql=\"1\" datetype=\"1\" strtylemaxlength=\"64\" name=\"市盈率\"/>\n"
            "</indexes>\n");
  CollectingSink sink;
  ASSERT_TRUE(orbe::ReadSysIndexFile(path, sink));
  ASSERT_EQ(sink.indexes.size(), 3u);
  const auto& profit = sink.At<SysIndex>(0);
  EXPECT_EQ(profit.datatype, DATA_TYPE_DOUBLE);
  EXPECT_EQ(profit.alias, "归母净利");
  EXPECT_EQ(profit.tablefield, "T007");
  EXPECT_EQ(profit.specialtype, 1);
  EXPECT_EQ(profit.keytype, 2);
  EXPECT_EQ(profit.id, "N1");
  ASSERT_EQ(profit.params.size(), 1u);
  EXPECT_EQ(profit.params[0].flag, "$RQ$");
  EXPECT_EQ(profit.params[0].field, "T002");
  const auto& industry = sink.At<SysIndexTQL>(1);
  EXPECT_EQ(industry.kind, INDEX_KIND_TQL);
  EXPECT_EQ(industry.strmaxlength, 20);  // string type without the attribute
  EXPECT_EQ(industry.flags, (std::vector<std::string>{"F1", "F2"}));
  EXPECT_EQ(industry.constname, "B");  // a later child overwrites
  EXPECT_EQ(industry.id, "");
  EXPECT_EQ(sink.At<SysIndexTQL>(2).strmaxlength, 20);  // ignored for a non-string type
  ASSERT_EQ(sink.progress.size(), 3u);
  EXPECT_FLOAT_EQ(sink.progress[2].second, 150);  // "count" only scales the progress
}

TEST(IndexFilesTest, SystemFileRefusals) {
  const TempFolder temp;
  const auto read = [&](const std::string& name, const std::string& bytes) {
    WriteText(temp.File(name), bytes);
    CollectingSink sink;
    return orbe::ReadSysIndexFile(temp.File(name), sink);
  };
  EXPECT_FALSE(read("a.txt", "[MAIN]\r\n"));
  CollectingSink unused;
  EXPECT_FALSE(orbe::ReadSysIndexFile(".ini", unused));  // too short
  EXPECT_FALSE(read("nocount.xml", "<r><i name=\"a\"/></r>"));
  EXPECT_FALSE(read("zero.xml", "<r count=\"0\"><i name=\"a\"/></r>"));
  EXPECT_FALSE(read("broken.xml", "<r count=\"1\"><i name=\"a\"></r>"));
  EXPECT_FALSE(read("empty.xml", ""));
  EXPECT_FALSE(read("dup.xml", "<r count=\"2\"><i name=\"a\"/><i name=\"a\"/></r>"));
  EXPECT_TRUE(read("one.xml", "<r count=\"1\"><i tql=\"2\" name=\"a\"/></r>"));
  CollectingSink missing;
  EXPECT_TRUE(orbe::ReadSysIndexFile(temp.File("missing.ini"), missing));  // an absent INI is empty
  EXPECT_TRUE(missing.indexes.empty());
}

TEST(IndexFilesTest, UserFileRoundTripsThroughTheWriter) {
  const TempFolder temp;
  const std::string path = temp.File("usr.ini");
  UsrIndex growth;
  growth.name = "营收增长率";
  growth.alias = "增长";
  growth.info = "两期营收之比";
  growth.tree = "成长";
  growth.datatype = DATA_TYPE_DOUBLE;
  growth.codefile = "growth";
  growth.refnames = {"营业收入", "上期营业收入"};
  ASSERT_TRUE(orbe::WriteUsrIndexFile(path, "..\\py", {&growth}));
  EXPECT_EQ(orbe::ReadUsrScriptPath(path), "..\\py");
  CollectingSink sink;
  ASSERT_TRUE(orbe::ReadUsrIndexFile(path, sink));
  ASSERT_EQ(sink.indexes.size(), 1u);
  const auto& read = sink.At<UsrIndex>(0);
  EXPECT_EQ(read.name, growth.name);
  EXPECT_EQ(read.alias, growth.alias);
  EXPECT_EQ(read.info, growth.info);
  EXPECT_EQ(read.tree, growth.tree);
  EXPECT_EQ(read.datatype, growth.datatype);
  EXPECT_EQ(read.codefile, growth.codefile);
  EXPECT_EQ(read.refnames, growth.refnames);
  EXPECT_EQ(read.unittype, 0);  // never stored: derived after loading
}

TEST(IndexFilesTest, HugeCountsAreBounded) {
  const TempFolder temp;
  const std::string path = temp.File("usr.ini");
  WriteText(path, "[MAIN]\r\n用户指标个数=1\r\n[指标1]\r\n指标名称=x\r\n指标引用个数=2147483647\r\n");
  CollectingSink sink;
  ASSERT_TRUE(orbe::ReadUsrIndexFile(path, sink));
  EXPECT_EQ(sink.At<UsrIndex>(0).refnames.size(), 1000u);
}

}  // namespace
