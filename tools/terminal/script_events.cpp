#include "script_events.h"

#include <charconv>
#include <limits>

namespace orbe::terminal {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Splits at blanks; quoted words keep them. False for an open quote or a
// backslash before anything but a quote or a backslash.
bool SplitWords(std::string_view line, std::vector<std::string>& words, std::string* error) {
  std::size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (at >= line.size()) break;
    std::string word;
    if (line[at] != '"') {
      while (at < line.size() && !IsBlank(line[at])) word += line[at++];
      words.push_back(std::move(word));
      continue;
    }
    ++at;
    bool closed = false;
    while (at < line.size()) {
      const char c = line[at++];
      if (c == '"') {
        closed = true;
        break;
      }
      if (c == '\\') {
        if (at >= line.size() || (line[at] != '"' && line[at] != '\\')) {
          *error = "a backslash in quotes escapes only \" or \\";
          return false;
        }
        word += line[at++];
        continue;
      }
      word += c;
    }
    if (!closed) {
      *error = "a quote is not closed";
      return false;
    }
    if (at < line.size() && !IsBlank(line[at])) {
      *error = "a quoted argument must end its word";
      return false;
    }
    words.push_back(std::move(word));
  }
  return true;
}

}  // namespace

std::optional<int> EventInt(const std::string& text) {
  int value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (first != last && *first == '+') ++first;
  const auto [end, failure] = std::from_chars(first, last, value);
  if (failure != std::errc() || end != last || first == last) return std::nullopt;
  return value;
}

std::optional<ScriptEventLine> ParseScriptEventLine(std::string_view line, std::string* error) {
  error->clear();
  if (line.size() > kMaxEventLineBytes) {
    *error = "the line is longer than " + std::to_string(kMaxEventLineBytes) + " bytes";
    return std::nullopt;
  }
  if (line.find('\0') != std::string_view::npos) {
    *error = "the line holds a zero byte";
    return std::nullopt;
  }
  std::size_t first = 0;
  while (first < line.size() && IsBlank(line[first])) ++first;
  if (first == line.size() || line[first] == '#') return std::nullopt;
  std::vector<std::string> words;
  if (!SplitWords(line, words, error)) return std::nullopt;
  ScriptEventLine event;
  const std::string& target = words[0];
  std::size_t next = 1;
  if (target == "wait") {
    event.target = ScriptEventLine::Target::kWait;
    event.action = "wait";
  } else {
    if (target == "container") {
      event.target = ScriptEventLine::Target::kContainer;
    } else if (const std::optional<int> id = EventInt(target); id && *id > 0) {
      event.widget = *id;
    } else {
      *error = "'" + target + "' is neither a widget id, 'container' nor 'wait'";
      return std::nullopt;
    }
    if (words.size() < 2 || words[1].empty()) {
      *error = "no action after '" + target + "'";
      return std::nullopt;
    }
    event.action = words[1];
    next = 2;
  }
  event.args.assign(words.begin() + static_cast<std::ptrdiff_t>(next), words.end());
  if (event.target == ScriptEventLine::Target::kWait) {
    const std::optional<int> ms = event.args.size() == 1 ? EventInt(event.args[0]) : std::nullopt;
    if (!ms || *ms < 0) {
      *error = "wait takes one number of milliseconds";
      return std::nullopt;
    }
  }
  return event;
}

}  // namespace orbe::terminal
