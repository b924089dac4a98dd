// Reading the schema text: one record per line, tokens split at blanks,
// double quotes around tokens that hold blanks (\" \\ \n \r \t inside).
#include <algorithm>
#include <charconv>
#include <optional>

#include "orbe/platform/text.h"
#include "schema_text.h"

namespace orbe::dicttool {
namespace {

struct Token {
  std::string text;
  bool starts_quoted = false;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::optional<char> Unescape(char c) {
  switch (c) {
    case '"': return '"';
    case '\\': return '\\';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    default: return std::nullopt;
  }
}

// Splits a line into tokens; false (with error) on a bad quote or escape.
bool Tokenize(std::string_view line, std::vector<Token>& tokens, std::string* error) {
  std::size_t i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      ++i;
      continue;
    }
    Token token;
    token.starts_quoted = line[i] == '"';
    while (i < line.size() && !IsBlank(line[i])) {
      if (line[i] != '"') {
        token.text.push_back(line[i++]);
        continue;
      }
      ++i;
      while (i < line.size() && line[i] != '"') {
        if (line[i] == '\\') {
          const std::optional<char> c = i + 1 < line.size() ? Unescape(line[i + 1]) : std::nullopt;
          if (!c) return *error = "bad escape in quoted text", false;
          token.text.push_back(*c);
          i += 2;
          continue;
        }
        token.text.push_back(line[i++]);
      }
      if (i == line.size()) return *error = "unterminated quote", false;
      ++i;
    }
    tokens.push_back(std::move(token));
  }
  return true;
}

template <typename Number>
std::optional<Number> ParseNumber(const Token& token, long long min, long long max) {
  long long value = 0;
  const char* end = token.text.data() + token.text.size();
  const auto [stop, error] = std::from_chars(token.text.data(), end, value);
  if (token.starts_quoted || error != std::errc() || stop != end || value < min || value > max) {
    return std::nullopt;
  }
  return static_cast<Number>(value);
}

// The record texts: GBK of the UTF-8 token; "-" alone stands for empty.
std::optional<std::string> TextOf(const Token& token, bool dash_is_empty) {
  if (dash_is_empty && !token.starts_quoted && token.text == "-") return std::string();
  return Utf8ToGbkStrict(token.text);
}

// The UTF-8 value of a trailing name=value option; nullopt if the token is
// not that option (a quoted token never is one).
std::optional<std::string_view> OptionValue(const Token& token, std::string_view name) {
  const std::string_view text = token.text;
  if (token.starts_quoted || !text.starts_with(name) || text.size() <= name.size() || text[name.size()] != '=') {
    return std::nullopt;
  }
  return text.substr(name.size() + 1);
}

class SchemaParser {
 public:
  std::string ParseLine(const std::vector<Token>& tokens);
  DictionarySchema& Schema() { return schema_; }

 private:
  std::string ParseTable(const std::vector<Token>& tokens);
  std::string ParseField(const std::vector<Token>& tokens);
  std::string ParseConst(const std::vector<Token>& tokens);

  DictionarySchema schema_;
};

std::string SchemaParser::ParseLine(const std::vector<Token>& tokens) {
  const std::string& keyword = tokens.front().text;
  if (tokens.front().starts_quoted) return "a line starts with table, field or const";
  if (keyword == "table") return ParseTable(tokens);
  if (keyword == "field") return ParseField(tokens);
  if (keyword == "const") return ParseConst(tokens);
  return "unknown record \"" + keyword + "\" (table, field or const)";
}

std::string SchemaParser::ParseTable(const std::vector<Token>& tokens) {
  if (tokens.size() < 3 || tokens.size() > 4) return "table NUMBER NAME [key=FIELD]";
  SchemaTable table;
  const auto number = ParseNumber<std::uint32_t>(tokens[1], 0, 0xFFFFFFFFLL);
  if (!number) return "table number must be 0 to 4294967295";
  table.number = *number;
  const std::optional<std::string> name = TextOf(tokens[2], false);
  if (!name) return "table name is not valid UTF-8 text with a GBK form";
  table.name = *name;
  if (tokens.size() == 4) {
    const std::optional<std::string_view> key = OptionValue(tokens[3], "key");
    if (!key) return "unknown table option (key=FIELD)";
    const auto key_number = ParseNumber<std::uint8_t>(Token{std::string(*key), false}, 0, 255);
    if (!key_number) return "key must be a field number 0 to 255";
    table.key_field = *key_number;
  }
  schema_.tables.push_back(std::move(table));
  return CheckSchema(DictionarySchema{{schema_.tables.back()}, {}});
}

std::string SchemaParser::ParseField(const std::vector<Token>& tokens) {
  if (tokens.size() != 6) return "field NUMBER TYPE WIDTH CLASS NAME";
  if (schema_.tables.empty()) return "field before any table";
  SchemaField field;
  const auto number = ParseNumber<std::int16_t>(tokens[1], -32768, 32767);
  const auto type = ParseNumber<std::uint8_t>(tokens[2], 0, 255);
  const auto width = ParseNumber<std::uint16_t>(tokens[3], 0, 65535);
  if (!number || !type || !width) return "field number -32768..32767, type 0..255, width 0..65535";
  const std::optional<std::string> const_class = TextOf(tokens[4], true);
  const std::optional<std::string> name = TextOf(tokens[5], false);
  if (!const_class || !name) return "field text is not valid UTF-8 text with a GBK form";
  field.number = *number;
  field.type = *type;
  field.width = *width;
  field.const_class = *const_class;
  field.name = *name;
  SchemaTable check{schema_.tables.back().number, 0, std::string(), {field}};
  schema_.tables.back().fields.push_back(std::move(field));
  return CheckSchema(DictionarySchema{{check}, {}});
}

std::string SchemaParser::ParseConst(const std::vector<Token>& tokens) {
  if (tokens.size() < 4 || tokens.size() > 6) return "const CLASS CODE TEXT [parent=CODE] [attr=CODE]";
  SchemaConst constant;
  const std::optional<std::string> const_class = TextOf(tokens[1], true);
  const std::optional<std::string> code = TextOf(tokens[2], true);
  const std::optional<std::string> text = TextOf(tokens[3], true);
  if (!const_class || !code || !text) return "constant text is not valid UTF-8 text with a GBK form";
  constant.const_class = *const_class;
  constant.code = *code;
  constant.text = *text;
  for (std::size_t i = 4; i < tokens.size(); ++i) {
    const std::optional<std::string_view> parent = OptionValue(tokens[i], "parent");
    const std::optional<std::string_view> attribute = OptionValue(tokens[i], "attr");
    if (!parent && !attribute) return "unknown constant option (parent=CODE, attr=CODE)";
    const std::optional<std::string> value = Utf8ToGbkStrict(parent ? *parent : *attribute);
    if (!value) return "constant code is not valid UTF-8 text with a GBK form";
    (parent ? constant.parent_code : constant.attribute_code) = *value;
  }
  schema_.constants.push_back(std::move(constant));
  return CheckSchema(DictionarySchema{{}, {schema_.constants.back()}});
}

}  // namespace

ParsedSchema ParseSchemaText(std::string_view utf8_text) {
  if (utf8_text.starts_with("\xEF\xBB\xBF")) utf8_text.remove_prefix(3);
  SchemaParser parser;
  int line_number = 0;
  while (!utf8_text.empty()) {
    const std::size_t end = std::min(utf8_text.find('\n'), utf8_text.size());
    const std::string_view line = utf8_text.substr(0, end);
    utf8_text.remove_prefix(std::min(end + 1, utf8_text.size()));
    ++line_number;
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == '#') continue;
    std::vector<Token> tokens;
    std::string error;
    if (Tokenize(line, tokens, &error)) error = parser.ParseLine(tokens);
    if (!error.empty()) return {DictionarySchema{}, Format("line %d: %s", line_number, error.c_str())};
  }
  ParsedSchema parsed{std::move(parser.Schema()), std::string()};
  parsed.error = CheckSchema(parsed.schema);
  return parsed;
}

}  // namespace orbe::dicttool
