// Reader of the bond category file. Element and attribute names are checked
// strictly: a misspelt attribute would otherwise leave a category that
// silently holds nothing.
#include "orbe/topics/bond_categories.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "orbe/platform/file.h"
#include "orbe/platform/text.h"

namespace orbe {
namespace {

using tinyxml2::XMLElement;

constexpr const char kRootName[] = "BondCategories";
constexpr const char kCategoryName[] = "Category";
constexpr const char* const kAttributes[] = {"name", "types", "markets"};

enum class TextEncoding { kGbk, kUtf8 };

struct ReadState {
  TextEncoding encoding = TextEncoding::kGbk;
  std::size_t count = 0;
  std::string* error = nullptr;

  bool Fail(const XMLElement& element, const std::string& message) const {
    if (error != nullptr) *error = Format("line %d: ", element.GetLineNum()) + message;
    return false;
  }
};

// The encoding the declaration names. Without one the file is GBK, the
// module's text, unless it starts with a UTF-8 byte-order mark.
std::optional<TextEncoding> EncodingOf(const tinyxml2::XMLDocument& document, std::string* error) {
  const tinyxml2::XMLNode* first = document.FirstChild();
  const tinyxml2::XMLDeclaration* declaration = first != nullptr ? first->ToDeclaration() : nullptr;
  const std::string text = declaration != nullptr && declaration->Value() != nullptr ? declaration->Value() : "";
  const std::string lower = AsciiLower(text);
  const std::size_t key = lower.find("encoding");
  if (key == std::string::npos) return document.HasBOM() ? TextEncoding::kUtf8 : TextEncoding::kGbk;
  const std::size_t open = lower.find_first_of("\"'", key);
  const std::size_t close = open == std::string::npos ? open : lower.find(lower[open], open + 1);
  const std::string name = close == std::string::npos ? "" : lower.substr(open + 1, close - open - 1);
  if (name == "gb2312" || name == "gbk" || name == "gb18030") return TextEncoding::kGbk;
  if (name == "utf-8" || name == "utf8") return TextEncoding::kUtf8;
  if (error != nullptr) *error = "unsupported encoding \"" + name + "\"";
  return std::nullopt;
}

std::optional<std::string> ModuleText(const ReadState& state, const char* value) {
  if (state.encoding == TextEncoding::kGbk) return std::string(value);
  return Utf8ToGbkStrict(value);
}

// ";" separates the entries: it is below 0x40, so it is never the second byte
// of a GBK character.
std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> entries;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find(';', start), text.size());
    const std::string_view entry = TrimBlanks(std::string_view(text).substr(start, end - start));
    if (!entry.empty()) entries.emplace_back(entry);
    start = end + 1;
  }
  return entries;
}

std::string TooLarge() { return Format("file larger than %zu bytes", kMaxBondCategoryFileBytes); }

bool ReadCategory(const XMLElement& element, int depth, ReadState& state, BondCategory& category);

bool ReadChildren(const XMLElement& parent, int depth, ReadState& state, std::vector<BondCategory>& out) {
  for (const XMLElement* child = parent.FirstChildElement(); child != nullptr;
       child = child->NextSiblingElement()) {
    if (std::strcmp(child->Name(), kCategoryName) != 0) {
      return state.Fail(*child, std::string("unexpected element <") + child->Name() + ">");
    }
    if (depth > kMaxBondCategoryDepth) return state.Fail(*child, "categories nested too deeply");
    if (++state.count > kMaxBondCategories) return state.Fail(*child, "too many categories");
    BondCategory category;
    if (!ReadCategory(*child, depth, state, category)) return false;
    out.push_back(std::move(category));
  }
  return true;
}

bool ReadCategory(const XMLElement& element, int depth, ReadState& state, BondCategory& category) {
  for (const tinyxml2::XMLAttribute* attribute = element.FirstAttribute(); attribute != nullptr;
       attribute = attribute->Next()) {
    const auto known = [&](const char* name) { return std::strcmp(name, attribute->Name()) == 0; };
    if (std::none_of(std::begin(kAttributes), std::end(kAttributes), known)) {
      return state.Fail(element, std::string("unknown attribute \"") + attribute->Name() + "\"");
    }
  }
  std::optional<std::string> texts[std::size(kAttributes)];
  for (std::size_t i = 0; i < std::size(kAttributes); ++i) {
    const char* value = element.Attribute(kAttributes[i]);
    if (value == nullptr) continue;
    texts[i] = ModuleText(state, value);
    if (!texts[i]) return state.Fail(element, std::string("attribute \"") + kAttributes[i] + "\" is not UTF-8");
  }
  category.name = std::string(TrimBlanks(texts[0].value_or("")));
  if (category.name.empty()) return state.Fail(element, "category without a name");
  if (category.name.size() > kMaxBondCategoryNameBytes) {
    return state.Fail(element, Format("category name longer than %zu bytes", kMaxBondCategoryNameBytes));
  }
  category.types = SplitList(texts[1].value_or(""));
  category.markets = SplitList(texts[2].value_or(""));
  if (!ReadChildren(element, depth + 1, state, category.children)) return false;
  if (!category.HasRule() && category.children.empty()) {
    return state.Fail(element, "category with neither types, markets nor subcategories");
  }
  return true;
}

}  // namespace

bool BondCategory::Holds(std::string_view type, std::string_view market) const {
  const auto listed = [](const std::vector<std::string>& entries, std::string_view value) {
    return entries.empty() || std::find(entries.begin(), entries.end(), value) != entries.end();
  };
  return HasRule() && listed(types, type) && listed(markets, market);
}

std::optional<std::vector<BondCategory>> ParseBondCategories(std::string_view bytes, std::string* error) {
  if (bytes.size() > kMaxBondCategoryFileBytes) {
    if (error != nullptr) *error = TooLarge();
    return std::nullopt;
  }
  tinyxml2::XMLDocument document;
  if (document.Parse(bytes.data(), bytes.size()) != tinyxml2::XML_SUCCESS) {
    if (error != nullptr) {
      *error = Format("line %d: ", document.ErrorLineNum()) + (document.ErrorStr() ? document.ErrorStr() : "");
    }
    return std::nullopt;
  }
  ReadState state;
  state.error = error;
  const std::optional<TextEncoding> encoding = EncodingOf(document, error);
  if (!encoding) return std::nullopt;
  state.encoding = *encoding;
  const XMLElement* root = document.RootElement();
  if (root == nullptr || std::strcmp(root->Name(), kRootName) != 0) {
    if (error != nullptr) *error = std::string("the root element is not <") + kRootName + ">";
    return std::nullopt;
  }
  std::vector<BondCategory> categories;
  if (!ReadChildren(*root, 1, state, categories)) return std::nullopt;
  return categories;
}

std::optional<std::vector<BondCategory>> LoadBondCategories(const std::string& path, std::string* error) {
  std::error_code failure;
  const std::uintmax_t size = std::filesystem::file_size(path, failure);
  if (!failure && size > kMaxBondCategoryFileBytes) {
    if (error != nullptr) *error = TooLarge();
    return std::nullopt;
  }
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) {
    if (error != nullptr) *error = "cannot read " + path;
    return std::nullopt;
  }
  return ParseBondCategories(*bytes, error);
}

}  // namespace orbe
