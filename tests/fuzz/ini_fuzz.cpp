// Fuzzes the INI parser and editor with arbitrary bytes: parsing must give
// back every byte, and an edit must change exactly the value it sets.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "orbe/platform/text.h"
#include "platform/ini_document.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// A key listed with a value may still read as missing when an earlier bare
// line of the same name answers first.
using Snapshot = std::map<std::pair<std::string, std::string>, std::optional<std::string>>;

std::optional<std::string> ValueOf(const orbe::IniDocument& document, std::string_view section,
                                   std::string_view key) {
  const std::string* value = document.FindValue(section, key);
  return value != nullptr ? std::optional<std::string>(*value) : std::nullopt;
}

// Every value a lookup can reach: first sections, their first keys.
Snapshot Values(const orbe::IniDocument& document) {
  Snapshot values;
  for (const std::string& section : document.SectionNames()) {
    for (const std::string& key : document.KeyNames(section)) {
      values.emplace(std::make_pair(section, key), ValueOf(document, section, key));
    }
  }
  return values;
}

// Splits the input's first line "section|key|value" into edit arguments.
bool EditArguments(std::string_view input, std::string_view parts[3]) {
  const size_t end = input.find('\n');
  std::string_view head = input.substr(0, end);
  for (int i = 0; i < 2; ++i) {
    const size_t bar = head.find('|');
    if (bar == std::string_view::npos) return false;
    parts[i] = head.substr(0, bar);
    head.remove_prefix(bar + 1);
  }
  parts[2] = head;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  orbe::IniDocument document = orbe::IniDocument::Parse(input);
  Check(document.Serialize() == input);

  const Snapshot before = Values(document);
  const orbe::IniDocument reparsed = orbe::IniDocument::Parse(document.Serialize());
  for (const auto& [where, value] : before) {
    Check(ValueOf(reparsed, where.first, where.second) == value);
  }
  orbe::ParseIniInteger(input.substr(0, 64));
  orbe::UnquoteIniValue(orbe::TrimIniBlanks(input.substr(0, 64)));

  std::string_view edit[3];
  if (!EditArguments(input, edit)) return 0;
  const orbe::IniEdit result = document.SetValue(edit[0], edit[1], edit[2]);
  if (result == orbe::IniEdit::kRejected) {
    Check(document.Serialize() == input);
    return 0;
  }
  const orbe::IniDocument edited = orbe::IniDocument::Parse(document.Serialize());
  const std::string* value = edited.FindValue(edit[0], edit[1]);
  Check(value != nullptr && *value == orbe::TrimIniBlanks(edit[2]));
  // Every other reachable value is as it was.
  for (const auto& [where, old_value] : before) {
    if (orbe::EqualsIgnoreAsciiCase(orbe::TrimIniBlanks(edit[0]), where.first) &&
        orbe::EqualsIgnoreAsciiCase(orbe::TrimIniBlanks(edit[1]), where.second)) {
      continue;
    }
    Check(ValueOf(edited, where.first, where.second) == old_value);
  }
  if (result == orbe::IniEdit::kChanged) {
    Check(document.DeleteKey(edit[0], edit[1]) == orbe::IniEdit::kChanged);
    Check(orbe::IniDocument::Parse(document.Serialize()).FindValue(edit[0], edit[1]) == nullptr);
  }
  return 0;
}
