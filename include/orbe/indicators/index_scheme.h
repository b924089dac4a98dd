// Screening schemes: rows of indicators with conditions and display
// settings, kept many to an INI store or one to an XML file.
#ifndef ORBE_INDICATORS_INDEX_SCHEME_H_
#define ORBE_INDICATORS_INDEX_SCHEME_H_

#include <cstdint>
#include <string>
#include <vector>

// The operators of a row's condition, as a row stores them; a row without an
// operator is shown only.
inline constexpr const char* kConditionOperators[] = {"等于",     "不等于",   "大于", "小于",
                                                      "大于等于", "小于等于", "包含", "不包含"};

class IndexSchemeItem {
 public:
  std::string index;  // the indicator's name in the catalogue
  std::string param;  // report period, date or constant; "condition" in XML
  std::string op;     // 等于 不等于 大于 小于 大于等于 小于等于 包含 不包含, or empty
  std::string value;
  std::string unit;
  bool visable = true;
  std::int32_t colwidth = 0;
  std::int32_t decimalbit = 2;
  std::int32_t formatdata = 0;
  std::int32_t formatzero = 0;
  std::int32_t formatinvalid = 0;
  std::int32_t colcrlmode = 0;
  std::int32_t colcrl = 0xFFFFFF;  // 0x00BBGGRR
  std::int32_t dataalign = 0;
  std::int32_t headalign = 0;

  bool operator==(const IndexSchemeItem&) const = default;
};

class IndexScheme {
 public:
  // True when some row has both an operator and a value.
  bool HasCondition() const;

  std::string name;
  std::string descrip;
  std::string tree;
  std::string expression;  // "#n" stands for the n-th row's condition
  std::vector<IndexSchemeItem> items;

  bool operator==(const IndexScheme&) const = default;
};

// One INI store of schemes. Names are not checked for uniqueness here.
class IndexSchemeMgr {
 public:
  IndexSchemeMgr() = default;
  virtual ~IndexSchemeMgr() = default;

  // A missing file is a store of no schemes; a scheme without rows is dropped.
  void LoadSchemes(const std::string& path);
  void ClearSchemes();
  void ReloadSchemes(const std::string& path);
  std::vector<IndexScheme> GetSchemes() const;
  void SetSchemes(const std::vector<IndexScheme>& schemes);
  // Rewrites the whole store; the file holds the old or the new store at any
  // instant. False when the path is empty or the file could not be written.
  bool SaveSchemes() const;

  const std::string& path() const { return path_; }
  const std::string& templatename() const { return templatename_; }

 private:
  std::string path_;
  std::string templatename_;
  std::vector<IndexScheme> schemes_;
};

// One scheme in an XML file of its own (declared GB2312, written as GBK).
// False on an unreadable file, no root "name", a row without "index", or no row.
bool LoadSchemeXml(const std::string& path, IndexScheme& out);
bool SaveSchemeXml(const std::string& path, const IndexScheme& scheme);

#endif  // ORBE_INDICATORS_INDEX_SCHEME_H_
