#include "ini_document.h"

#include <algorithm>

#include "orbe/platform/text.h"

namespace orbe {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsIniBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

IniLine MakeLine(std::string text, std::string ending) {
  IniLine line;
  line.text = std::move(text);
  line.ending = std::move(ending);
  const std::string_view body = TrimIniBlanks(line.text);
  if (body.empty()) return line;
  if (body[0] == ';') {
    line.kind = IniLine::Kind::kComment;
    return line;
  }
  const size_t close = body.rfind(']');
  if (body[0] == '[' && close != std::string_view::npos) {
    line.kind = IniLine::Kind::kSection;
    line.name = TrimIniBlanks(body.substr(1, close - 1));
    return line;
  }
  // "[name" without ']' is read as a key, as Windows reads it.
  line.kind = IniLine::Kind::kKey;
  const size_t equals = body.find('=');
  line.name = TrimIniBlanks(body.substr(0, equals));
  if (equals != std::string_view::npos) {
    line.value = TrimIniBlanks(body.substr(equals + 1));
    line.has_value = true;
  }
  return line;
}

// Text that would break the line structure cannot be written back as given.
bool FitsOnOneLine(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// A name with a tab (or another blank) at an end would read back without
// it and so name something else.
bool ReadsBackAsWritten(std::string_view name) { return TrimIniBlanks(name).size() == name.size(); }

bool IsWritableSection(std::string_view name) {
  return !name.empty() && FitsOnOneLine(name) && ReadsBackAsWritten(name);
}

bool IsWritableKey(std::string_view name) {
  return !name.empty() && FitsOnOneLine(name) && ReadsBackAsWritten(name) &&
         name.find('=') == std::string_view::npos && name[0] != ';' && name[0] != '[';
}

bool IsWritableEntry(std::string_view line) { return !line.empty() && FitsOnOneLine(line) && line[0] != '['; }

int DigitValue(char c, int base) {
  int digit = 99;
  if (c >= '0' && c <= '9')
    digit = c - '0';
  else if (c >= 'a' && c <= 'f')
    digit = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    digit = c - 'A' + 10;
  return digit < base ? digit : -1;
}

}  // namespace

std::string_view TrimIniBlanks(std::string_view text) {
  while (!text.empty() && IsIniBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsIniBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view TrimIniArgument(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string_view UnquoteIniValue(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::uint32_t ParseIniInteger(std::string_view text) {
  text = TrimIniBlanks(text);
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::uint32_t base = 10;
  if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  // Unsigned 32-bit arithmetic: a number too large wraps modulo 2^32.
  std::uint32_t value = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i], static_cast<int>(base));
    if (digit < 0) break;
    value = value * base + static_cast<std::uint32_t>(digit);
  }
  return negative ? 0u - value : value;
}

size_t IniDocument::NoCaseHash::operator()(std::string_view text) const {
  // FNV-1a over the bytes as EqualsIgnoreAsciiCase sees them: ASCII letters
  // folded, double-byte characters kept whole.
  std::uint64_t hash = 1469598103934665603ull;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (IsGbkLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
      hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
      c = text[++i];
    } else {
      c = LowerAscii(c);
    }
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  return static_cast<size_t>(hash);
}

bool IniDocument::NoCaseEqual::operator()(std::string_view a, std::string_view b) const {
  return EqualsIgnoreAsciiCase(a, b);
}

IniDocument IniDocument::Parse(std::string_view bytes) {
  IniDocument document;
  if (bytes.starts_with(kUtf8Bom)) {
    // Editors add the mark; the first section must still be found.
    document.bom_ = kUtf8Bom;
    bytes.remove_prefix(kUtf8Bom.size());
  }
  // A line ends at CR LF, LF or a CR alone.
  while (!bytes.empty()) {
    const size_t end = bytes.find_first_of("\r\n");
    if (end == std::string_view::npos) {
      document.lines_.push_back(MakeLine(std::string(bytes), std::string()));
      break;
    }
    const size_t ending_size = bytes.substr(end, 2) == "\r\n" ? 2 : 1;
    document.lines_.push_back(
        MakeLine(std::string(bytes.substr(0, end)), std::string(bytes.substr(end, ending_size))));
    bytes.remove_prefix(end + ending_size);
  }
  document.Reindex();
  return document;
}

std::string IniDocument::Serialize() const {
  size_t total = bom_.size();
  for (const IniLine& line : lines_) total += line.text.size() + line.ending.size();
  std::string bytes;
  bytes.reserve(total);
  bytes += bom_;
  for (const IniLine& line : lines_) {
    bytes += line.text;
    bytes += line.ending;
  }
  return bytes;
}

std::string_view IniDocument::LineEnding() const {
  for (const IniLine& line : lines_) {
    if (!line.ending.empty()) return line.ending;
  }
  return "\r\n";
}

void IniDocument::Reindex() {
  sections_.clear();
  SectionIndex* current = nullptr;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const IniLine& line = lines_[i];
    if (line.kind == IniLine::Kind::kSection) {
      if (current != nullptr) current->end = i;
      const auto [it, first] = sections_.try_emplace(line.name);
      current = first ? &it->second : nullptr;
      if (current != nullptr) {
        current->header = i;
        current->content_end = i + 1;
      }
    } else if (current != nullptr && line.kind != IniLine::Kind::kBlank) {
      current->content_end = i + 1;
      // "=value" is a key with an empty name, found by an empty name.
      if (line.kind == IniLine::Kind::kKey) current->keys.try_emplace(line.name, i);
    }
  }
  if (current != nullptr) current->end = lines_.size();
}

const IniDocument::SectionIndex* IniDocument::FindSection(std::string_view section) const {
  // An empty name finds "[]".
  section = TrimIniArgument(section);
  const auto it = sections_.find(section);
  return it == sections_.end() ? nullptr : &it->second;
}

const std::string* IniDocument::FindValue(std::string_view section, std::string_view key) const {
  const SectionIndex* index = FindSection(section);
  return index == nullptr ? nullptr : FindValue(*index, key);
}

const std::string* IniDocument::FindValue(const SectionIndex& section, std::string_view key) const {
  const auto it = section.keys.find(TrimIniArgument(key));
  if (it == section.keys.end()) return nullptr;
  const IniLine& line = lines_[it->second];
  return line.has_value ? &line.value : nullptr;
}

bool IniDocument::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

std::vector<std::string> IniDocument::SectionNames() const {
  std::vector<std::string> names;
  for (const IniLine& line : lines_) {
    if (line.kind == IniLine::Kind::kSection && !line.name.empty()) names.push_back(line.name);
  }
  return names;
}

std::vector<std::string> IniDocument::KeyNames(std::string_view section) const {
  std::vector<std::string> names;
  const SectionIndex* index = FindSection(section);
  if (index == nullptr) return names;
  for (size_t i = index->header + 1; i < index->end; ++i) {
    const IniLine& line = lines_[i];
    if (line.kind == IniLine::Kind::kKey && line.has_value) names.push_back(line.name);
  }
  return names;
}

std::vector<std::string> IniDocument::SectionEntries(std::string_view section) const {
  std::vector<std::string> entries;
  const SectionIndex* index = FindSection(section);
  if (index == nullptr) return entries;
  for (size_t i = index->header + 1; i < index->end; ++i) {
    const IniLine& line = lines_[i];
    if (line.kind != IniLine::Kind::kKey) continue;
    entries.push_back(line.has_value ? line.name + "=" + line.value : line.name);
  }
  return entries;
}

void IniDocument::InsertLines(size_t at, const std::vector<std::string>& texts) {
  const std::string ending(LineEnding());
  if (at > 0 && lines_[at - 1].ending.empty()) lines_[at - 1].ending = ending;
  std::vector<IniLine> added;
  added.reserve(texts.size());
  for (const std::string& text : texts) added.push_back(MakeLine(text, ending));
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
}

void IniDocument::AppendSection(std::string_view section, const std::vector<std::string>& lines) {
  std::vector<std::string> texts;
  texts.reserve(lines.size() + 1);
  texts.push_back("[" + std::string(section) + "]");
  texts.insert(texts.end(), lines.begin(), lines.end());
  InsertLines(lines_.size(), texts);
  Reindex();
}

IniEdit IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  // The value is written as given, blanks and all.
  section = TrimIniArgument(section);
  key = TrimIniArgument(key);
  if (!IsWritableSection(section) || !IsWritableKey(key) || !FitsOnOneLine(value)) return IniEdit::kRejected;
  const SectionIndex* index = FindSection(section);
  std::string text = std::string(key) + "=" + std::string(value);
  if (index == nullptr) {
    AppendSection(section, {std::move(text)});
    return IniEdit::kChanged;
  }
  const auto it = index->keys.find(key);
  if (it == index->keys.end()) {
    // After the section's last line that is not blank: below the comments
    // that follow its keys, above the blank lines before the next section.
    InsertLines(index->content_end, {std::move(text)});
    Reindex();
    return IniEdit::kChanged;
  }
  IniLine& line = lines_[it->second];
  if (line.has_value && line.value == value) return IniEdit::kUnchanged;
  // The key keeps the spelling the file gave it.
  line = MakeLine(line.name + "=" + std::string(value), line.ending);
  return IniEdit::kChanged;
}

IniEdit IniDocument::DeleteKey(std::string_view section, std::string_view key) {
  const SectionIndex* index = FindSection(section);
  key = TrimIniArgument(key);
  if (index == nullptr || key.empty()) return IniEdit::kUnchanged;
  const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(index->header + 1);
  const auto last = lines_.begin() + static_cast<std::ptrdiff_t>(index->end);
  const auto kept = std::remove_if(first, last, [&](const IniLine& line) {
    return line.kind == IniLine::Kind::kKey && EqualsIgnoreAsciiCase(line.name, key);
  });
  if (kept == last) return IniEdit::kUnchanged;
  lines_.erase(kept, last);
  Reindex();
  return IniEdit::kChanged;
}

IniEdit IniDocument::DeleteSection(std::string_view section) {
  section = TrimIniArgument(section);
  if (section.empty() || FindSection(section) == nullptr) return IniEdit::kUnchanged;
  // The header, the key lines and the blank lines go; the comment lines
  // stay where they were, as on Windows.
  std::vector<IniLine> kept;
  kept.reserve(lines_.size());
  bool dropping = false;
  for (IniLine& line : lines_) {
    if (line.kind == IniLine::Kind::kSection) dropping = EqualsIgnoreAsciiCase(line.name, section);
    if (!dropping || line.kind == IniLine::Kind::kComment) kept.push_back(std::move(line));
  }
  lines_ = std::move(kept);
  Reindex();
  return IniEdit::kChanged;
}

IniEdit IniDocument::ReplaceSection(std::string_view section, const std::vector<std::string_view>& lines) {
  section = TrimIniArgument(section);
  if (!IsWritableSection(section)) return IniEdit::kRejected;
  std::vector<std::string> texts;
  texts.reserve(lines.size());
  for (const std::string_view line : lines) {
    const std::string_view text = TrimIniBlanks(line);
    if (text.empty()) continue;
    if (!IsWritableEntry(text)) return IniEdit::kRejected;
    texts.emplace_back(text);
  }
  const SectionIndex* index = FindSection(section);
  if (index == nullptr) {
    AppendSection(section, texts);
    return IniEdit::kChanged;
  }
  const size_t first = index->header + 1;
  const size_t last = index->content_end;
  const bool same =
      last - first == texts.size() &&
      std::equal(texts.begin(), texts.end(), lines_.begin() + static_cast<std::ptrdiff_t>(first),
                 [](const std::string& text, const IniLine& line) { return text == line.text; });
  if (same) return IniEdit::kUnchanged;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(first),
               lines_.begin() + static_cast<std::ptrdiff_t>(last));
  InsertLines(first, texts);
  Reindex();
  return IniEdit::kChanged;
}

}  // namespace orbe
