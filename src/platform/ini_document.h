// An INI file held as its lines, so that an edit changes only the lines it
// must and every other byte (comments, unknown lines, GBK text, line ends)
// is written back as it was read. Pure: no I/O.
//
// Reading rules: lines end at CR LF, LF or a lone CR; blanks around names
// and values are trimmed; a line whose
// first non-blank byte is ';' is a comment; "[name]" opens a section (the
// name runs to the last ']'); other lines are keys, "name=value" or a bare
// "name" without a value. Section and key names compare without ASCII case;
// GBK double-byte characters compare as bytes. The first section with a name
// and the first key in it answer lookups.
#ifndef ORBE_PLATFORM_INI_DOCUMENT_H_
#define ORBE_PLATFORM_INI_DOCUMENT_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orbe {

// Blanks as an INI reader sees them: ASCII white space and the old
// end-of-file mark Ctrl-Z.
std::string_view TrimIniBlanks(std::string_view text);

// Section and key arguments lose the spaces around them; tabs stay, as on
// Windows.
std::string_view TrimIniArgument(std::string_view text);

// A value in matching double or single quotes loses them: "\"a b\"" -> "a b".
std::string_view UnquoteIniValue(std::string_view value);

// The number at the start of a value: blanks, an optional sign, then decimal
// digits or "0x" and hex digits, up to the first other byte; no digits gives
// 0. Computed modulo 2^32 as Windows does: a number too large wraps, and a
// negative one is its two's complement.
std::uint32_t ParseIniInteger(std::string_view text);

struct IniLine {
  enum class Kind : std::uint8_t { kBlank, kComment, kSection, kKey };

  std::string text;    // the bytes of the line, without its line end
  std::string ending;  // "\r\n", "\n", or "" on a last line that has none
  Kind kind = Kind::kBlank;
  std::string name;   // section or key name, trimmed
  std::string value;  // key value, trimmed, quotes kept
  bool has_value = false;
};

enum class IniEdit : std::uint8_t {
  kUnchanged,  // the document already said so; nothing to write
  kChanged,
  kRejected,  // a name or value that could not be read back as given
};

class IniDocument {
 public:
  static IniDocument Parse(std::string_view bytes);
  std::string Serialize() const;

  // The trimmed value (quotes kept) of the first key `key` in the first
  // section `section`; null when either is missing or the key has no '='.
  // An empty section name finds "[]", an empty key name "=value".
  const std::string* FindValue(std::string_view section, std::string_view key) const;
  bool HasSection(std::string_view section) const;

  // Every section header in file order, duplicates included, except "[]".
  std::vector<std::string> SectionNames() const;
  // The keys with a value in the first section `section`, in file order,
  // duplicates and the empty name of "=value" included.
  std::vector<std::string> KeyNames(std::string_view section) const;
  // The lines of the first section `section` as "name=value" (quotes kept) or
  // a bare "name"; comments and blank lines left out.
  std::vector<std::string> SectionEntries(std::string_view section) const;

  // Sets a value (kept as given, blanks included) in the first section
  // `section`: an existing key's line is rewritten in place with its line
  // end, a new key goes after the section's last non-blank line, a new
  // section goes at the end of the file.
  IniEdit SetValue(std::string_view section, std::string_view key, std::string_view value);
  // Removes every line of `key` in the first section `section`.
  IniEdit DeleteKey(std::string_view section, std::string_view key);
  // Removes every section `section`: its header, key and blank lines; its
  // comment lines stay.
  IniEdit DeleteSection(std::string_view section);
  // Replaces the first section's lines with `lines` (each one line, trimmed);
  // the blank lines that separate it from the next section stay.
  IniEdit ReplaceSection(std::string_view section, const std::vector<std::string_view>& lines);

  // The line end new lines get: the file's own, CRLF for a new file.
  std::string_view LineEnding() const;
  const std::vector<IniLine>& lines() const { return lines_; }

  // Where the first section of a name lies, and its keys' first lines: a
  // reader of many keys of one section looks it up once (FindSection) and
  // then each key in it.
  struct NoCaseHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const;
  };
  struct NoCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  template <typename Value>
  using NoCaseMap = std::unordered_map<std::string, Value, NoCaseHash, NoCaseEqual>;
  struct SectionIndex {
    size_t header = 0;
    size_t end = 0;          // the next header, or the line count
    size_t content_end = 0;  // after the last non-blank line
    NoCaseMap<size_t> keys;
  };
  // Null when the document has no section of that name.
  const SectionIndex* FindSection(std::string_view section) const;
  // FindValue within a section FindSection gave.
  const std::string* FindValue(const SectionIndex& section, std::string_view key) const;

 private:
  void Reindex();
  void AppendSection(std::string_view section, const std::vector<std::string>& lines);
  void InsertLines(size_t at, const std::vector<std::string>& texts);

  std::string bom_;  // a UTF-8 byte-order mark, kept apart so no edit loses it
  std::vector<IniLine> lines_;
  NoCaseMap<SectionIndex> sections_;
};

}  // namespace orbe

#endif  // ORBE_PLATFORM_INI_DOCUMENT_H_
