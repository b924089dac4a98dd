// The system-indicator XML: every child of the root is one indicator, a TQL
// indicator when its "tql" is 1. The attribute names "datetype" and
// "strtylemaxlength" are spelled as the files in use spell them.
#include <tinyxml2.h>

#include <algorithm>
#include <cstdlib>

#include "indicators/index_files.h"
#include "orbe/platform/file.h"

namespace orbe {
namespace {

using tinyxml2::XMLElement;

void ReadText(const XMLElement& element, const char* attribute, std::string& out) {
  if (const char* value = element.Attribute(attribute)) out = value;
}

void ReadInt(const XMLElement& element, const char* attribute, std::int32_t& out) {
  if (const char* value = element.Attribute(attribute)) out = std::atoi(value);
}

void ReadCommon(const XMLElement& element, IndexBase& index) {
  ReadInt(element, "datetype", index.datatype);
  ReadInt(element, "unittype", index.unittype);
  ReadText(element, "info", index.info);
  ReadText(element, "name", index.name);
  ReadText(element, "alias", index.alias);
}

// The length sizes the buffers of every value read: a file's number is bounded
// to what a reply can carry, and one below 1 reads as the default.
std::int32_t BoundedStringLength(std::int32_t length) {
  if (length < 1) return SysIndexTQL::kDefaultStringLength;
  return std::min(length, SysIndexTQL::kMaxStringLength);
}

std::unique_ptr<IndexBase> ReadTqlIndex(const XMLElement& element) {
  auto index = std::make_unique<SysIndexTQL>();
  ReadCommon(element, *index);
  if (index->datatype == DATA_TYPE_STRING) {
    ReadInt(element, "strtylemaxlength", index->strmaxlength);
    index->strmaxlength = BoundedStringLength(index->strmaxlength);
  }
  ReadText(element, "tree", index->tree);
  ReadText(element, "id", index->id);
  for (const XMLElement* child = element.FirstChildElement(); child != nullptr;
       child = child->NextSiblingElement()) {
    if (const char* flag = child->Attribute("flag")) index->flags.emplace_back(flag);
    ReadText(*child, "constname", index->constname);
  }
  return index;
}

std::unique_ptr<IndexBase> ReadSqlIndex(const XMLElement& element) {
  auto index = std::make_unique<SysIndex>();
  ReadCommon(element, *index);
  ReadText(element, "tablename", index->tablename);
  ReadText(element, "tablefield", index->tablefield);
  ReadText(element, "tree", index->tree);
  ReadText(element, "key", index->key);
  ReadText(element, "condition", index->condition);
  ReadInt(element, "specialtype", index->specialtype);
  ReadInt(element, "keytype", index->keytype);
  ReadText(element, "id", index->id);
  for (const XMLElement* child = element.FirstChildElement(); child != nullptr;
       child = child->NextSiblingElement()) {
    SysIndexParam param;
    ReadText(*child, "flag", param.flag);
    ReadText(*child, "field", param.field);
    index->params.push_back(std::move(param));
  }
  return index;
}

bool IsTql(const XMLElement& element) {
  const char* tql = element.Attribute("tql");
  return tql != nullptr && std::atoi(tql) == 1;
}

}  // namespace

bool ReadSysIndexXml(const std::string& path, IndexSink& sink) {
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return false;
  tinyxml2::XMLDocument document;
  if (document.Parse(bytes->data(), bytes->size()) != tinyxml2::XML_SUCCESS) return false;
  const XMLElement* root = document.RootElement();
  if (root == nullptr) return false;
  const char* count_text = root->Attribute("count");
  const int count = count_text != nullptr ? std::atoi(count_text) : 0;
  if (count == 0) return false;
  // The children decide how many indicators there are; "count" only scales
  // the progress.
  int number = 0;
  for (const XMLElement* child = root->FirstChildElement(); child != nullptr;
       child = child->NextSiblingElement()) {
    ++number;
    sink.Progress(kSysStageEnd, static_cast<float>(number) / static_cast<float>(count) * 100.0f);
    if (!sink.Add(IsTql(*child) ? ReadTqlIndex(*child) : ReadSqlIndex(*child))) return false;
  }
  return true;
}

}  // namespace orbe
