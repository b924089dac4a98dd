#include "sample/sample_schema.h"

#include <initializer_list>

#include "sample/sample_constants.h"

namespace orbe::sample {
namespace {

struct FieldSpec {
  std::uint8_t type;
  std::uint16_t text_width;  // only for the text types
  const char* const_class;
  const char* name;
};

struct TableSpec {
  std::uint32_t number;
  const char* name;
  std::uint8_t key_field;
  std::initializer_list<FieldSpec> fields;
  std::initializer_list<std::initializer_list<int>> indexes;
};

constexpr FieldSpec Text(std::uint16_t width, const char* name) {
  return {kText, width, "", name};
}
constexpr FieldSpec Code(std::uint16_t width, const char* const_class, const char* name) {
  return {kCodeText, width, const_class, name};
}
constexpr FieldSpec Fixed(std::uint8_t type, const char* name) {
  return {type, 0, "", name};
}

// Leading fields shared by the four statement tables, so one key and report
// period serve every one of them.
// clang-format off
#define ORBE_STATEMENT_HEAD \
  Text(12, "内部编码"), Text(12, "公司代码"), Text(10, "证券代码"), \
  Fixed(kDate, "公告日期"), Fixed(kDate, "报告期")
#define ORBE_STATEMENT_INDEXES {1, 5}, {2, 5}, {3, 5}, {5}
// clang-format on

const TableSpec kTables[] = {
    {kSecuMainTable,
     "证券主表",
     1,
     {Text(12, "内部编码"), Text(12, "公司代码"), Text(10, "证券代码"), Text(40, "证券简称"),
      Code(8, "201", "证券类别"), Code(8, "202", "证券市场"), Code(8, "204", "上市板块"),
      Code(8, "203", "上市状态"), Fixed(kDate, "上市日期"), Text(12, "拼音简称"),
      Fixed(kDateTime, "更新时间")},
     {{1}, {3}, {2}}},
    {kListedCompanyTable,
     "上市公司基本资料",
     1,
     {Text(12, "公司代码"), Text(10, "证券代码"), Text(12, "内部编码"), Text(40, "证券简称"),
      Text(100, "公司名称"), Code(8, "205", "所属省份"), Fixed(kDate, "成立日期"),
      Fixed(kDouble, "注册资本(万元)"), Fixed(kInt32, "员工人数"), Fixed(kByte, "是否ST"),
      Code(12, "974", "行业分类974"), Code(12, "997", "行业分类997"), Code(12, "996", "行业分类996"),
      Code(12, "994", "行业分类994"), Code(12, "966", "行业分类966"), Code(12, "964", "行业分类964"),
      Fixed(kMemo, "公司简介"), Fixed(kLongMemo, "主营业务"), Fixed(kDateTime, "更新时间")},
     {{1}, {2}}},
    {kBalanceSheetTable,
     "资产负债表",
     1,
     {ORBE_STATEMENT_HEAD, Fixed(kDouble, "货币资金"), Fixed(kDouble, "应收账款"), Fixed(kDouble, "存货"),
      Fixed(kDouble, "流动资产合计"), Fixed(kDouble, "固定资产"), Fixed(kDouble, "资产总计"),
      Fixed(kDouble, "短期借款"), Fixed(kDouble, "流动负债合计"), Fixed(kDouble, "负债合计"),
      Fixed(kDouble, "实收资本(或股本)"), Fixed(kDouble, "归属于母公司股东权益合计"),
      Fixed(kDouble, "股东权益合计"), Fixed(kDateTime, "更新时间")},
     {ORBE_STATEMENT_INDEXES}},
    {kIncomeStatementTable,
     "利润表",
     1,
     {ORBE_STATEMENT_HEAD, Fixed(kDouble, "营业总收入"), Fixed(kDouble, "营业成本"),
      Fixed(kDouble, "销售费用"), Fixed(kDouble, "管理费用"), Fixed(kDouble, "研发费用"),
      Fixed(kDouble, "财务费用"), Fixed(kDouble, "营业利润"), Fixed(kDouble, "利润总额"),
      Fixed(kDouble, "所得税费用"), Fixed(kDouble, "净利润"), Fixed(kDouble, "归属于母公司股东的净利润"),
      Fixed(kDouble, "基本每股收益"), Fixed(kDouble, "稀释每股收益"), Fixed(kDateTime, "更新时间")},
     {ORBE_STATEMENT_INDEXES}},
    {kCashFlowTable,
     "现金流量表",
     1,
     {ORBE_STATEMENT_HEAD, Fixed(kDouble, "经营活动现金流入小计"),
      Fixed(kDouble, "经营活动产生的现金流量净额"), Fixed(kDouble, "投资活动产生的现金流量净额"),
      Fixed(kDouble, "筹资活动产生的现金流量净额"), Fixed(kDouble, "现金及现金等价物净增加额"),
      Fixed(kDouble, "期末现金及现金等价物余额"), Fixed(kDateTime, "更新时间")},
     {ORBE_STATEMENT_INDEXES}},
    {kFinancialIndicatorTable,
     "主要财务指标",
     1,
     {ORBE_STATEMENT_HEAD, Fixed(kDouble, "基本每股收益"), Fixed(kDouble, "每股净资产"),
      Fixed(kDouble, "每股经营现金流量"), Fixed(kDouble, "净资产收益率(%)"),
      Fixed(kDouble, "总资产收益率(%)"), Fixed(kDouble, "销售毛利率(%)"), Fixed(kDouble, "销售净利率(%)"),
      Fixed(kDouble, "资产负债率(%)"), Fixed(kDouble, "营业总收入同比增长(%)"),
      Fixed(kDouble, "净利润同比增长(%)"), Fixed(kDouble, "流动比率"), Fixed(kInt64, "总股本(股)"),
      Fixed(kDateTime, "更新时间")},
     {ORBE_STATEMENT_INDEXES}},
    {kDailyQuoteTable,
     "日行情",
     1,
     {Text(12, "内部编码"), Text(10, "证券代码"), Fixed(kDate, "交易日期"), Fixed(kDouble, "前收盘价"),
      Fixed(kDouble, "开盘价"), Fixed(kDouble, "最高价"), Fixed(kDouble, "最低价"), Fixed(kDouble, "收盘价"),
      Fixed(kInt64, "成交量(股)"), Fixed(kDouble, "成交金额(元)"), Fixed(kDouble, "涨跌幅(%)"),
      Fixed(kFloat, "换手率(%)"), Fixed(kDouble, "总市值(元)")},
     {{1, 3}, {2, 3}, {3}}},
    {kTradingCalendarTable,
     "交易日历",
     1,
     {Fixed(kDate, "日期"), Code(8, "202", "证券市场"), Fixed(kByte, "是否交易日"), Fixed(kInt16, "星期")},
     {{1}}},
    {kConceptMemberTable,
     "概念板块成分",
     1,
     {Code(12, "209", "板块代码"), Text(12, "内部编码"), Text(10, "证券代码"), Text(40, "证券简称"),
      Fixed(kDate, "纳入日期")},
     {{1}, {3}}},
    {kFundTable,
     "基金概况",
     1,
     {Text(12, "内部编码"), Text(10, "基金代码"), Text(40, "基金简称"), Text(100, "基金全称"),
      Code(8, "998", "基金类别"), Code(8, "004", "投资类型"), Code(8, "005", "投资风格"),
      Code(4, "200", "分级基金标志"), Text(60, "基金管理人"), Fixed(kDate, "成立日期"),
      Fixed(kDouble, "基金规模(亿份)"), Code(8, "202", "证券市场"), Fixed(kFloat, "管理费率(%)")},
     {{1}, {2}}},
    {kFundNavTable,
     "基金净值",
     1,
     {Text(12, "内部编码"), Text(10, "基金代码"), Fixed(kDate, "净值日期"), Fixed(kDouble, "单位净值"),
      Fixed(kDouble, "累计净值"), Fixed(kDouble, "日增长率(%)")},
     {{1, 3}, {2, 3}}},
    {kBondTable,
     "债券基本资料",
     2,
     {Text(12, "主标识"), Text(12, "内部编码"), Text(10, "债券代码"), Text(52, "债券简称"),
      Code(8, "206", "债券类型"), Code(8, "012", "交易市场"), Text(100, "发行人"), Fixed(kDate, "发行日期"),
      Fixed(kDate, "到期日期"), Fixed(kDouble, "票面利率(%)"), Fixed(kDouble, "发行规模(亿元)"),
      Fixed(kDouble, "期限(年)"), Text(10, "正股代码")},
     {{1}, {2}, {3}}},
    {kFuturesContractTable,
     "期货合约",
     1,
     {Text(12, "合约代码"), Code(4, "207", "交易所"), Text(8, "品种代码"), Text(40, "品种名称"),
      Text(8, "月份后缀"), Text(40, "合约名称"), Fixed(kDate, "上市日期"), Fixed(kDate, "最后交易日"),
      Fixed(kInt32, "交割月份")},
     {{1}, {3}}},
    {kFuturesVarietyTable,
     "期货品种",
     1,
     {Text(8, "品种代码"), Code(4, "207", "交易所"), Text(40, "品种名称"), Fixed(kInt16, "交易单位"),
      Text(20, "报价单位"), Fixed(kDouble, "最小变动价位"), Fixed(kFloat, "保证金比例(%)")},
     {{1}}},
    {kHkStockTable,
     "港股证券资料",
     1,
     {Text(10, "证券代码"), Text(40, "证券简称"), Text(12, "公司代码"), Code(8, "203", "上市状态"),
      Code(12, kClassHkIndustries, "行业代码"), Fixed(kDate, "上市日期"), Fixed(kInt16, "每手股数"), Text(12, "内部编码")},
     {{1}, {3}}},
    {kHkBoardMemberTable,
     "港股板块成分",
     1,
     {Code(8, kClassHkBoards, "板块代码"), Text(10, "证券代码"), Fixed(kDate, "纳入日期")},
     {{1}, {2}}},
};

#undef ORBE_STATEMENT_HEAD
#undef ORBE_STATEMENT_INDEXES

SchemaTable TableOf(const TableSpec& spec) {
  SchemaTable table;
  table.number = spec.number;
  table.name = spec.name;
  table.key_field = spec.key_field;
  std::int16_t number = 0;
  for (const FieldSpec& field : spec.fields) {
    const std::uint16_t fixed = FixedWidthOf(field.type);
    table.fields.push_back(
        {++number, field.type, fixed != 0 ? fixed : field.text_width, field.const_class, field.name});
  }
  return table;
}

}  // namespace

std::uint16_t FixedWidthOf(std::uint8_t type) {
  switch (type) {
    case kInt16: return 2;
    case kInt32:
    case kFloat:
    case kDate:
    case kMemo:
    case kLongMemo: return 4;
    case kInt64:
    case kDouble:
    case kDateTime: return 8;
    case kByte: return 1;
    default: return 0;
  }
}

bool IsIntegerType(std::uint8_t type) {
  return type == kInt16 || type == kInt32 || type == kInt64 || type == kByte || type == kDate ||
         type == kDateTime;
}
bool IsRealType(std::uint8_t type) {
  return type == kFloat || type == kDouble;
}
bool IsTextType(std::uint8_t type) {
  return type == kCodeText || type == kText || type == kMemo || type == kLongMemo;
}

std::vector<SchemaTable> SampleTables() {
  std::vector<SchemaTable> tables;
  for (const TableSpec& spec : kTables) tables.push_back(TableOf(spec));
  return tables;
}

std::vector<std::vector<int>> SampleIndexes(std::uint32_t table_number) {
  std::vector<std::vector<int>> indexes;
  for (const TableSpec& spec : kTables) {
    if (spec.number != table_number) continue;
    for (const auto& index : spec.indexes) indexes.emplace_back(index);
  }
  return indexes;
}

}  // namespace orbe::sample
