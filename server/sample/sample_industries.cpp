#include "sample/sample_industries.h"

#include "orbe/platform/text.h"
#include "sample/sample_constants.h"

namespace orbe::sample {
namespace {

struct IndustrySpec {
  const char* name;
  const char* csrc_code;  // class 974: a letter and two digits
  const char* subs[2];
  double gross_margin;
  std::vector<NameTail> tails;
};

struct SectorSpec {
  const char* name;
  const char* letter;  // class 974 sector code
  IndustrySpec industries[3];
};

const SectorSpec kSectors[] = {
    {"金融",
     "J",
     {{"银行", "J66", {"国有大型银行", "股份制银行"}, 0.60, {{"银行", "YH"}}},
      {"证券", "J67", {"证券公司", "期货公司"}, 0.45, {{"证券", "ZQ"}, {"期货", "QH"}}},
      {"保险", "J68", {"人寿保险", "财产保险"}, 0.20, {{"保险", "BX"}, {"人寿", "RS"}}}}},
    {"能源",
     "B",
     {{"煤炭", "B06", {"煤炭开采", "焦炭加工"}, 0.30, {{"煤业", "MY"}, {"能源", "NY"}}},
      {"石油石化", "B07", {"油气开采", "炼油化工"}, 0.22, {{"石化", "SH"}, {"油服", "YF"}}},
      {"电力", "D44", {"火力发电", "新能源发电"}, 0.25, {{"电力", "DL"}, {"能源", "NY"}}}}},
    {"原材料",
     "C",
     {{"钢铁", "C31", {"普钢", "特钢"}, 0.10, {{"钢铁", "GT"}, {"特钢", "TG"}}},
      {"有色金属", "C32", {"工业金属", "稀有金属"}, 0.14, {{"矿业", "KY"}, {"铝业", "LY"}, {"铜业", "TY"}}},
      {"化工", "C26", {"基础化工", "化学制品"}, 0.22, {{"化工", "HG"}, {"材料", "CL"}}}}},
    {"工业",
     "C",
     {{"机械设备", "C34", {"通用设备", "专用设备"}, 0.28, {{"机械", "JX"}, {"重工", "ZG"}, {"装备", "ZB"}}},
      {"电力设备", "C38", {"电池", "光伏设备"}, 0.24, {{"电气", "DQ"}, {"新能", "XN"}}},
      {"国防军工", "C37", {"航空装备", "船舶制造"}, 0.26, {{"航空", "HK"}, {"船舶", "CB"}}}}},
    {"可选消费",
     "C",
     {{"汽车", "C36", {"乘用车", "汽车零部件"}, 0.16, {{"汽车", "QC"}, {"汽配", "QP"}}},
      {"家用电器", "C38", {"白色家电", "小家电"}, 0.26, {{"电器", "DQ"}, {"家电", "JD"}}},
      {"纺织服装", "C18", {"纺织制造", "服装家纺"}, 0.32, {{"纺织", "FZ"}, {"服饰", "FS"}}}}},
    {"日常消费",
     "C",
     {{"食品饮料", "C15", {"白酒", "食品加工"}, 0.55, {{"酒业", "JY"}, {"食品", "SP"}}},
      {"农林牧渔", "A03", {"养殖业", "种植业"}, 0.15, {{"农业", "NY"}, {"牧业", "MY"}, {"种业", "ZY"}}},
      {"商贸零售", "F52", {"百货", "电子商务"}, 0.20, {{"商业", "SY"}, {"百货", "BH"}}}}},
    {"医药卫生",
     "C",
     {{"医药生物", "C27", {"化学制药", "中药"}, 0.60, {{"药业", "YY"}, {"制药", "ZY"}, {"生物", "SW"}}},
      {"医疗器械", "C35", {"医疗设备", "医用耗材"}, 0.55, {{"医疗", "YL"}, {"医械", "YX"}}},
      {"医疗服务", "Q83", {"医院", "医药外包"}, 0.40, {{"医院", "YY"}, {"健康", "JK"}}}}},
    {"信息技术",
     "I",
     {{"电子", "C39", {"半导体", "消费电子"}, 0.30, {{"电子", "DZ"}, {"微电", "WD"}, {"光电", "GD"}}},
      {"计算机", "I65", {"软件开发", "IT服务"}, 0.45, {{"软件", "RJ"}, {"信息", "XX"}, {"数据", "SJ"}}},
      {"通信", "I63", {"通信设备", "通信服务"}, 0.32, {{"通信", "TX"}, {"网络", "WL"}}}}},
    {"房地产与建筑",
     "K",
     {{"房地产", "K70", {"住宅开发", "物业服务"}, 0.25, {{"地产", "DC"}, {"置业", "ZY"}}},
      {"建筑装饰", "E48", {"基建工程", "装修装饰"}, 0.12, {{"建设", "JS"}, {"建工", "JG"}}},
      {"建筑材料", "C30", {"水泥", "玻璃"}, 0.28, {{"建材", "JC"}, {"水泥", "SN"}, {"玻璃", "BL"}}}}},
    {"交通与公用事业",
     "G",
     {{"交通运输", "G55", {"港口航运", "航空机场"}, 0.22, {{"港务", "GW"}, {"物流", "WL"}, {"航运", "HY"}}},
      {"公用事业", "D46", {"水务", "燃气"}, 0.30, {{"水务", "SW"}, {"燃气", "RQ"}}},
      {"环保", "N77", {"环境治理", "固废处理"}, 0.33, {{"环保", "HB"}, {"环境", "HJ"}}}}},
};

constexpr int kSectorCount = static_cast<int>(std::size(kSectors));
constexpr int kIndustriesPerSector = 3;
constexpr int kSubsPerIndustry = 2;

const IndustrySpec& IndustryOf(const IndustryLeaf& leaf) {
  return kSectors[leaf.sector].industries[leaf.industry];
}

// The prefix-coded classifications: the class number, then two digits per
// level. Digits never exceed 20, so no code contains another level's code
// except as its own prefix, which is what a lookup by substring relies on.
std::string PrefixCode(const std::string& classification, int depth, const IndustryLeaf& leaf) {
  std::string code = classification + Format("%02d", leaf.sector + 1);
  if (depth >= 2) code += Format("%02d", leaf.industry + 1);
  if (depth >= 3) code += Format("%02d", leaf.sub + 1);
  return code;
}

int DepthOf(const std::string& classification) {
  if (classification == "974" || classification == "996" || classification == "964") return 2;
  return 3;
}

// Class 966 numbers its nodes in tree order; the hierarchy lives only in the
// parent codes.
int SequenceNumber966(int depth, const IndustryLeaf& leaf) {
  constexpr int kNodesPerIndustry = 1 + kSubsPerIndustry;
  constexpr int kNodesPerSector = 1 + kIndustriesPerSector * kNodesPerIndustry;
  int number = leaf.sector * kNodesPerSector + 1;
  if (depth >= 2) number += 1 + leaf.industry * kNodesPerIndustry;
  if (depth >= 3) number += 1 + leaf.sub;
  return number;
}

std::string CodeAtDepth(const std::string& classification, int depth, const IndustryLeaf& leaf) {
  if (classification == "974") return depth == 1 ? kSectors[leaf.sector].letter : IndustryOf(leaf).csrc_code;
  if (classification == "966") return Format("966%04d", SequenceNumber966(depth, leaf));
  return PrefixCode(classification, depth, leaf);
}

// Two of our industries may share one code of class 974.
bool Has974Code(const std::vector<SchemaConst>& constants, const std::string& code) {
  for (const SchemaConst& constant : constants) {
    if (constant.const_class == "974" && constant.code == code) return true;
  }
  return false;
}

// Class 974 has its sector letters as the top level; several of our sectors
// share a letter, so its top level is keyed by letter and listed once.
void Append974(std::vector<SchemaConst>& constants) {
  static const std::pair<const char*, const char*> kLetters[] = {{"A", "农、林、牧、渔业"},
                                                                 {"B", "采矿业"},
                                                                 {"C", "制造业"},
                                                                 {"D", "电力、热力、燃气及水生产和供应业"},
                                                                 {"E", "建筑业"},
                                                                 {"F", "批发和零售业"},
                                                                 {"G", "交通运输、仓储和邮政业"},
                                                                 {"I", "信息传输、软件和信息技术服务业"},
                                                                 {"J", "金融业"},
                                                                 {"K", "房地产业"},
                                                                 {"N", "水利、环境和公共设施管理业"},
                                                                 {"Q", "卫生和社会工作"}};
  for (const auto& [letter, name] : kLetters) {
    constants.push_back({"974", letter, name, "", ""});
    for (const SectorSpec& sector : kSectors) {
      for (const IndustrySpec& industry : sector.industries) {
        if (industry.csrc_code[0] != letter[0]) continue;
        if (!Has974Code(constants, industry.csrc_code)) {
          constants.push_back({"974", industry.csrc_code, industry.name, letter, ""});
        }
      }
    }
  }
}

void AppendTree(const std::string& classification, std::vector<SchemaConst>& constants) {
  const int depth = DepthOf(classification);
  for (int s = 0; s < kSectorCount; ++s) {
    const IndustryLeaf sector_leaf{s, 0, 0};
    constants.push_back(
        {classification, CodeAtDepth(classification, 1, sector_leaf), kSectors[s].name, "", ""});
    for (int i = 0; i < kIndustriesPerSector; ++i) {
      const IndustryLeaf industry_leaf{s, i, 0};
      const std::string industry_code = CodeAtDepth(classification, 2, industry_leaf);
      constants.push_back({classification, industry_code, kSectors[s].industries[i].name,
                           CodeAtDepth(classification, 1, sector_leaf), ""});
      if (depth < 3) continue;
      for (int b = 0; b < kSubsPerIndustry; ++b) {
        const IndustryLeaf leaf{s, i, b};
        constants.push_back({classification, CodeAtDepth(classification, 3, leaf),
                             kSectors[s].industries[i].subs[b], industry_code, ""});
      }
    }
  }
}

void AppendHkIndustries(std::vector<SchemaConst>& constants) {
  for (int s = 0; s < kSectorCount; ++s) {
    const std::string sector_code = Format("HK%02d", s + 1);
    constants.push_back({kClassHkIndustries, sector_code, kSectors[s].name, "", ""});
    for (int i = 0; i < kIndustriesPerSector; ++i) {
      constants.push_back(
          {kClassHkIndustries, HkIndustryCodeOf({s, i, 0}), kSectors[s].industries[i].name, sector_code, ""});
    }
  }
}

}  // namespace

std::vector<IndustryLeaf> AllIndustryLeaves() {
  std::vector<IndustryLeaf> leaves;
  for (int s = 0; s < kSectorCount; ++s) {
    for (int i = 0; i < kIndustriesPerSector; ++i) {
      for (int b = 0; b < kSubsPerIndustry; ++b) leaves.push_back({s, i, b});
    }
  }
  return leaves;
}

std::string IndustryCodeOf(const std::string& classification, const IndustryLeaf& leaf) {
  return CodeAtDepth(classification, DepthOf(classification), leaf);
}

std::string HkIndustryCodeOf(const IndustryLeaf& leaf) {
  return Format("HK%02d%02d", leaf.sector + 1, leaf.industry + 1);
}

std::string SubIndustryName(const IndustryLeaf& leaf) {
  return IndustryOf(leaf).subs[leaf.sub];
}
std::string IndustryName(const IndustryLeaf& leaf) {
  return IndustryOf(leaf).name;
}
double GrossMarginOf(const IndustryLeaf& leaf) {
  return IndustryOf(leaf).gross_margin;
}
bool IsFinancial(const IndustryLeaf& leaf) {
  return leaf.sector == 0;
}
const std::vector<NameTail>& NameTailsOf(const IndustryLeaf& leaf) {
  return IndustryOf(leaf).tails;
}

void AppendIndustryConstants(std::vector<SchemaConst>& constants) {
  for (const char* classification : kIndustryClasses) {
    if (std::string(classification) == "974") {
      Append974(constants);
    } else {
      AppendTree(classification, constants);
    }
  }
  AppendHkIndustries(constants);
}

}  // namespace orbe::sample
