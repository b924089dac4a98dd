// Writing the normalised schema text; parsing it gives the schema back.
#include <string_view>

#include "orbe/platform/text.h"
#include "schema_text.h"

namespace orbe::dicttool {
namespace {

bool NeedsQuotes(std::string_view text) {
  if (text.empty() || text == "-") return true;
  for (const char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '"' || c == '\\' || c == '=') return true;
  }
  return false;
}

// UTF-8 token for a GBK text; invalid bytes show as U+FFFD.
std::string Token(std::string_view gbk) {
  const std::string text = GbkToUtf8(gbk);
  if (!NeedsQuotes(text)) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': quoted += "\\\""; break;
      case '\\': quoted += "\\\\"; break;
      case '\n': quoted += "\\n"; break;
      case '\r': quoted += "\\r"; break;
      case '\t': quoted += "\\t"; break;
      default: quoted.push_back(c);
    }
  }
  return quoted + "\"";
}

// A code where "-" stands for empty.
std::string CodeToken(std::string_view gbk) { return gbk.empty() ? "-" : Token(gbk); }

std::string Option(std::string_view name, std::string_view gbk) {
  return gbk.empty() ? std::string() : " " + std::string(name) + "=" + Token(gbk);
}

}  // namespace

std::string FormatSchemaText(const DictionarySchema& schema) {
  std::string text;
  for (const SchemaTable& table : schema.tables) {
    text += Format("table %u ", table.number) + Token(table.name);
    if (table.key_field != 0) text += Format(" key=%u", table.key_field);
    text += "\n";
    for (const SchemaField& field : table.fields) {
      text += Format("field %d %u %u ", field.number, field.type, field.width) + CodeToken(field.const_class) +
              " " + Token(field.name) + "\n";
    }
  }
  for (const SchemaConst& constant : schema.constants) {
    text += "const " + CodeToken(constant.const_class) + " " + CodeToken(constant.code) + " " +
            CodeToken(constant.text) + Option("parent", constant.parent_code) +
            Option("attr", constant.attribute_code) + "\n";
  }
  return text;
}

}  // namespace orbe::dicttool
