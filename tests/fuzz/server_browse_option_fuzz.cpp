// Parameter texts that clients send to the server's procedures: the
// KVX_DataBrowse option, and the page key of the reference procedures, run
// against an empty database so that every key that parses reaches storage.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "procedure_data_browse.h"
#include "procedure_reference.h"
#include "sqlite_connection.h"

namespace {

using namespace orbe::server;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

std::size_t CountOf(std::string_view text, char c) {
  std::size_t count = 0;
  for (const char each : text) count += each == c ? 1 : 0;
  return count;
}

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The pieces join back into the text, and every code is a distinct,
// trimmed, non-empty item of the last piece.
void FuzzBrowseOption(std::string_view text) {
  const auto option = ParseBrowseOption(text);
  Check(option.has_value() == (CountOf(text, '|') >= 2));
  if (!option) return;
  std::string joined = option->name;
  for (const std::string& parameter : option->parameters) joined += "|" + parameter;
  joined += "|" + option->string_width + "|";
  Check(text.substr(0, joined.size()) == joined);
  const std::string_view codes = text.substr(joined.size());
  Check(CountOf(codes, '|') == 0);
  for (std::size_t i = 0; i < option->codes.size(); ++i) {
    const std::string& code = option->codes[i];
    Check(!code.empty() && !Blank(code.front()) && !Blank(code.back()) && CountOf(code, ',') == 0);
    Check(codes.find(code) != std::string_view::npos);
    for (std::size_t j = 0; j < i; ++j) Check(option->codes[j] != code);
  }
}

bool AllDigits(std::string_view text) {
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

std::size_t Number(std::string_view digits) {
  std::size_t value = 0;
  for (const char c : digits) value = value * 10 + static_cast<std::size_t>(c - '0');
  return value;
}

// "TS" and one or two digits naming a set, or a one-digit set and a page of
// one to eight digits.
bool IsPageKey(std::string_view text, std::size_t set_count) {
  if (text.starts_with("TS")) {
    const std::string_view set = text.substr(2);
    return !set.empty() && set.size() <= 2 && AllDigits(set) && Number(set) < set_count;
  }
  return text.size() >= 2 && text.size() <= 9 && AllDigits(text) && Number(text.substr(0, 1)) < set_count;
}

SqlConnection& EmptyDatabase() {
  static const auto db = [] {
    std::string error;
    auto opened = SqliteConnection::Open(":memory:", &error);
    if (!opened) __builtin_trap();
    return opened;
  }();
  return *db;
}

void FuzzPageKey(std::string_view text) {
  for (const ReferenceProcedure* procedure :
       {&kMainTableProcedure, &kGgInfoProcedure, &kJjInfoProcedure, &kQhInfoProcedure, &kZqInfoProcedure}) {
    const CallOutcome outcome = CallReference(*procedure, EmptyDatabase(), 0, text);
    Check((outcome.status != CallStatus::kBadParameter) == IsPageKey(text, procedure->sets.size()));
    Check(outcome.status == CallStatus::kSuccess || outcome.result.empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  FuzzBrowseOption(text);
  FuzzPageKey(text);
  return 0;
}
