// The INI store of schemes: "MAIN" holds the count and the template name,
// section "方案n" holds scheme n with its rows numbered from 1.
#include <string>

#include "indicators/ini_image.h"
#include "indicators/ini_read.h"
#include "indicators/scheme_fields.h"
#include "orbe/indicators/index_scheme.h"

namespace {

constexpr const char* kMainSection = "MAIN";
constexpr const char* kCountKey = "方案个数";
constexpr const char* kTemplateKey = "模板名称";
constexpr const char* kSchemeSectionPrefix = "方案";
constexpr const char* kNameKey = "方案名称";
constexpr const char* kDescripKey = "方案说明";
constexpr const char* kTreeKey = "方案树";
constexpr const char* kExpressionKey = "条件表达式";
constexpr const char* kItemCountKey = "引用指标个数";

std::string SchemeSection(std::size_t number) { return kSchemeSectionPrefix + std::to_string(number); }

IndexSchemeItem ReadItem(const std::string& path, const std::string& section, std::size_t row) {
  IndexSchemeItem item;
  for (const orbe::SchemeTextField& field : orbe::kSchemeTextFields)
    item.*field.member = orbe::ReadIniText(path, section, orbe::RowKey(field.ini_prefix, row));
  // Unlike a new row, a row whose visibility key is missing is hidden.
  item.visable = orbe::ReadIniBool(path, section, orbe::RowKey(orbe::kVisibleIniPrefix, row), false);
  for (const orbe::SchemeIntField& field : orbe::kSchemeIntFields)
    item.*field.member =
        orbe::ReadIniInt(path, section, orbe::RowKey(field.ini_prefix, row), item.*field.member);
  return item;
}

IndexScheme ReadScheme(const std::string& path, const std::string& section) {
  IndexScheme scheme;
  scheme.name = orbe::ReadIniText(path, section, kNameKey);
  scheme.descrip = orbe::ReadIniText(path, section, kDescripKey);
  scheme.tree = orbe::ReadIniText(path, section, kTreeKey);
  scheme.expression = orbe::ReadIniText(path, section, kExpressionKey);
  const int rows = orbe::ReadIniCount(path, section, kItemCountKey, orbe::kMaxIniRows);
  for (int row = 1; row <= rows; ++row)
    scheme.items.push_back(ReadItem(path, section, static_cast<std::size_t>(row)));
  return scheme;
}

void WriteScheme(orbe::IniImage& image, std::size_t number, const IndexScheme& scheme) {
  image.Section(SchemeSection(number));
  image.Key(kNameKey, scheme.name);
  image.Key(kDescripKey, scheme.descrip);
  image.Key(kTreeKey, scheme.tree);
  image.Key(kExpressionKey, scheme.expression);
  image.Key(kItemCountKey, static_cast<int>(scheme.items.size()));
  for (std::size_t row = 1; row <= scheme.items.size(); ++row) {
    const IndexSchemeItem& item = scheme.items[row - 1];
    for (const orbe::SchemeTextField& field : orbe::kSchemeTextFields)
      image.Key(orbe::RowKey(field.ini_prefix, row), item.*field.member);
    image.Key(orbe::RowKey(orbe::kVisibleIniPrefix, row), item.visable ? "TRUE" : "FALSE");
    for (const orbe::SchemeIntField& field : orbe::kSchemeIntFields)
      image.Key(orbe::RowKey(field.ini_prefix, row), item.*field.member);
  }
}

}  // namespace

void IndexSchemeMgr::LoadSchemes(const std::string& path) {
  path_ = path;
  templatename_ = orbe::ReadIniText(path, kMainSection, kTemplateKey);
  const int count = orbe::ReadIniCount(path, kMainSection, kCountKey, orbe::kMaxIniEntries);
  for (int number = 1; number <= count; ++number) {
    IndexScheme scheme = ReadScheme(path, SchemeSection(static_cast<std::size_t>(number)));
    if (!scheme.items.empty()) schemes_.push_back(std::move(scheme));
  }
}

void IndexSchemeMgr::ClearSchemes() { schemes_.clear(); }

void IndexSchemeMgr::ReloadSchemes(const std::string& path) {
  ClearSchemes();
  LoadSchemes(path);
}

std::vector<IndexScheme> IndexSchemeMgr::GetSchemes() const { return schemes_; }

void IndexSchemeMgr::SetSchemes(const std::vector<IndexScheme>& schemes) { schemes_ = schemes; }

bool IndexSchemeMgr::SaveSchemes() const {
  if (path_.empty()) return false;
  orbe::IniImage image;
  image.Section(kMainSection);
  image.Key(kCountKey, static_cast<int>(schemes_.size()));
  image.Key(kTemplateKey, templatename_);
  for (std::size_t number = 1; number <= schemes_.size(); ++number)
    WriteScheme(image, number, schemes_[number - 1]);
  return image.WriteTo(path_);
}
