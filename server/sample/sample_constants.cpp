#include "sample/sample_constants.h"

#include "sample/sample_industries.h"
#include "sample/sample_names.h"

namespace orbe::sample {
namespace {

const std::vector<CodeText> kYesNo = {{"0", "否"}, {"1", "是"}};
const std::vector<CodeText> kCategories = {{"1", "A股"},         {"2", "B股"},  {"3", "港股"},
                                           {"4", "指数"},        {"6", "债券"}, {"8", "封闭式基金"},
                                           {"13", "开放式基金"}, {"14", "期货"}};
const std::vector<CodeText> kMarkets = {{"83", "上海证券交易所"},
                                        {"90", "深圳证券交易所"},
                                        {"72", "香港联合交易所"},
                                        {"89", "银行间债券市场"},
                                        {"10", "场外市场"}};
const std::vector<CodeText> kListingStates = {{"1", "上市"}, {"2", "暂停上市"}, {"3", "终止上市"}};
const std::vector<CodeText> kBoards = {{"1", "主板"}, {"2", "中小企业板"}, {"6", "创业板"}, {"7", "科创板"}};

}  // namespace

const std::vector<CodeText>& FundCategories() {
  static const std::vector<CodeText> kCodes = {
      {"998001", "股票型"}, {"998002", "混合型"}, {"998003", "债券型"}, {"998004", "货币市场型"},
      {"998005", "指数型"}, {"998006", "QDII"},   {"998007", "FOF"},    {"998008", "商品型"}};
  return kCodes;
}

const std::vector<CodeText>& FundInvestTypes() {
  static const std::vector<CodeText> kCodes = {
      {"004001", "成长型"},     {"004002", "价值型"},     {"004003", "平衡型"},    {"004004", "收益型"},
      {"004005", "积极配置型"}, {"004006", "稳健配置型"}, {"004007", "被动指数型"}};
  return kCodes;
}

const std::vector<CodeText>& FundStyles() {
  static const std::vector<CodeText> kCodes = {
      {"005001", "大盘成长"},   {"005002", "大盘价值"},   {"005003", "大盘平衡"},
      {"005004", "中小盘成长"}, {"005005", "中小盘价值"}, {"005006", "中小盘平衡"},
      {"005007", "利率债"},     {"005008", "信用债"},     {"005009", "现金管理"}};
  return kCodes;
}

const std::vector<CodeText>& BondTypes() {
  static const std::vector<CodeText> kCodes = {
      {"206001", "国债"},   {"206002", "地方政府债"}, {"206003", "金融债"},     {"206004", "企业债"},
      {"206005", "公司债"}, {"206006", "可转换债券"}, {"206007", "短期融资券"}, {"206008", "中期票据"}};
  return kCodes;
}

const std::vector<CodeText>& BondMarkets() {
  static const std::vector<CodeText> kCodes = {{"012001", "上海证券交易所"},
                                               {"012002", "深圳证券交易所"},
                                               {"012004", "银行间债券市场"},
                                               {"012016", "柜台交易市场"},
                                               {"012999", "其他市场"}};
  return kCodes;
}

const std::vector<CodeText>& FuturesExchanges() {
  // "1" is no exchange: it holds the continuous main contracts of the four
  // domestic ones.
  static const std::vector<CodeText> kCodes = {{"CZ", "中国金融期货交易所"},
                                               {"QS", "上海期货交易所"},
                                               {"QD", "大连商品交易所"},
                                               {"QZ", "郑州商品交易所"},
                                               {"QN", "上海国际能源交易中心"},
                                               {"14", "伦敦金属交易所"},
                                               {"16", "纽约商品交易所"},
                                               {"17", "纽约商业交易所"},
                                               {"1", "国内主力合约"}};
  return kCodes;
}

const std::vector<CodeText>& HkBoards() {
  static const std::vector<CodeText> kCodes = {{"H001", "主板"},
                                               {"H002", "创业板"},
                                               {"H003", "恒生指数成分股"},
                                               {"H004", "恒生中国企业指数成分股"},
                                               {"H005", "恒生科技指数成分股"},
                                               {"H006", "港股通(沪)"},
                                               {"H007", "港股通(深)"},
                                               {"H008", "红筹股"},
                                               {"H009", "H股"},
                                               {"H010", "蓝筹股"}};
  return kCodes;
}

const std::vector<CodeText>& ConceptBoards() {
  // Names fit the host's 20-byte board names; the first two are boards the
  // host lists but the concept-board lookup leaves out.
  static const std::vector<CodeText> kCodes = {
      {"209001", "精选指数"}, {"209002", "ETF基金"},  {"209003", "人工智能"},     {"209004", "新能源汽车"},
      {"209005", "芯片概念"}, {"209006", "锂电池"},   {"209007", "光伏概念"},     {"209008", "5G概念"},
      {"209009", "云计算"},   {"209010", "大数据"},   {"209011", "区块链"},       {"209012", "数字货币"},
      {"209013", "医疗美容"}, {"209014", "白酒概念"}, {"209015", "军工概念"},     {"209016", "稀土永磁"},
      {"209017", "氢能源"},   {"209018", "储能"},     {"209019", "元宇宙"},       {"209020", "机器人"},
      {"209021", "国企改革"}, {"209022", "一带一路"}, {"209023", "粤港澳大湾区"}, {"209024", "自贸区"},
      {"209025", "预制菜"},   {"209026", "创新药"},   {"209027", "充电桩"},       {"209028", "工业互联网"},
      {"209029", "智能电网"}, {"209030", "物联网"},   {"209031", "无人驾驶"},     {"209032", "网络安全"},
      {"209033", "信创"},     {"209034", "数据中心"}, {"209035", "特高压"},       {"209036", "乡村振兴"},
      {"209037", "碳中和"},   {"209038", "低空经济"}, {"209039", "算力"},         {"209040", "高股息"},
  };
  return kCodes;
}

std::vector<SchemaConst> SampleConstants() {
  std::vector<SchemaConst> constants;
  const auto add_class = [&constants](const char* const_class, const std::vector<CodeText>& codes) {
    for (const CodeText& code : codes) constants.push_back({const_class, code.code, code.text, "", ""});
  };
  add_class("200", kYesNo);
  add_class("201", kCategories);
  add_class("202", kMarkets);
  add_class("203", kListingStates);
  add_class("204", kBoards);
  for (const Province& province : Provinces())
    constants.push_back({"205", province.code, province.name, "", ""});
  add_class("206", BondTypes());
  add_class("207", FuturesExchanges());
  add_class("209", ConceptBoards());
  add_class("012", BondMarkets());
  add_class("998", FundCategories());
  add_class("004", FundInvestTypes());
  add_class("005", FundStyles());
  add_class(kClassHkBoards, HkBoards());
  AppendIndustryConstants(constants);
  return constants;
}

}  // namespace orbe::sample
