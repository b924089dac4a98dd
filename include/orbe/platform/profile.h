// INI profile functions with the Win32 names, signatures and behaviour, over
// GBK bytes. Section and key names compare without ASCII case; blanks around
// names and values are trimmed; a value in matching quotes loses them. A
// write rewrites the file atomically and keeps every other byte of it. Reads
// are served from a parsed copy that is checked against the file on each call.
// docs/ini.md lists every behaviour chosen.
#ifndef ORBE_PLATFORM_PROFILE_H_
#define ORBE_PLATFORM_PROFILE_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orbe/platform/types.h"

// The value of `key` in section `app`, else `def` (trailing spaces trimmed;
// null means ""). A null `app` lists the section names, a null `key` the
// section's keys: each NUL-terminated, then a final NUL. Returns the bytes
// copied without the last NUL; size-1 when a value was cut, size-2 when a list
// was cut.
DWORD GetPrivateProfileStringA(LPCSTR app, LPCSTR key, LPCSTR def, LPSTR ret, DWORD size, LPCSTR file);
// The number at the start of the value; `def` when the key is missing or
// empty; 0 when the value does not start with a number.
UINT GetPrivateProfileIntA(LPCSTR app, LPCSTR key, int def, LPCSTR file);
// Sets a value, creating the file and the section as needed. A null `value`
// deletes the key, a null `key` the section.
BOOL WritePrivateProfileStringA(LPCSTR app, LPCSTR key, LPCSTR value, LPCSTR file);
// The section's lines as "key=value" strings, NUL-separated, double-NUL ended.
DWORD GetPrivateProfileSectionA(LPCSTR app, LPSTR ret, DWORD size, LPCSTR file);
DWORD GetPrivateProfileSectionNamesA(LPSTR ret, DWORD size, LPCSTR file);
// Replaces the section's lines with `pairs`, a double-NUL ended list of
// "key=value" strings; a null `pairs` deletes the section.
BOOL WritePrivateProfileSectionA(LPCSTR app, LPCSTR pairs, LPCSTR file);

namespace orbe {

// The same rules without length limits, for the module's own code.
std::string ProfileString(const std::string& file, std::string_view section, std::string_view key,
                          std::string_view def = {});
int ProfileInt(const std::string& file, std::string_view section, std::string_view key, int def);
bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value);
bool DeleteProfileKey(const std::string& file, std::string_view section, std::string_view key);
bool DeleteProfileSection(const std::string& file, std::string_view section);
std::vector<std::string> ProfileSectionNames(const std::string& file);
std::vector<std::string> ProfileKeys(const std::string& file, std::string_view section);
// The section's lines as GetPrivateProfileSectionA gives them.
std::vector<std::string> ProfileSection(const std::string& file, std::string_view section);

// Drops every parsed copy; the next read goes to the files.
void FlushProfileCache();

// While one lives, this thread's reads of `file` use the copy it loaded
// without asking the file system whether the file changed: a reader of
// hundreds of keys pays for one check instead of one a key. Writes through
// this module still show; a change made by another program meanwhile does
// not. Scopes nest; an inner scope of another file replaces the outer one
// until it ends.
class ProfileReadScope {
 public:
  explicit ProfileReadScope(const std::string& file);
  ~ProfileReadScope();
  ProfileReadScope(const ProfileReadScope&) = delete;
  ProfileReadScope& operator=(const ProfileReadScope&) = delete;

  struct Pinned;  // the file's copy, private to the implementation

 private:
  std::unique_ptr<Pinned> pinned_;
  Pinned* previous_;
};

// The keys of one section, read as GetPrivateProfileStringA and ProfileInt
// read them, from the copy of the file current when the reader was made: a
// reader of dozens of keys of a section checks the file and finds the
// section once rather than once a key. It does not see later writes.
class ProfileSectionReader {
 public:
  ProfileSectionReader(const std::string& file, std::string_view section);
  ~ProfileSectionReader();
  ProfileSectionReader(const ProfileSectionReader&) = delete;
  ProfileSectionReader& operator=(const ProfileSectionReader&) = delete;

  // GetPrivateProfileStringA(section, key, def, ret, size, file) for a key.
  DWORD String(std::string_view key, LPCSTR def, LPSTR ret, DWORD size) const;
  // ProfileInt(file, section, key, def).
  int Int(std::string_view key, int def) const;

  struct Found;  // the copy and its section, private to the implementation

 private:
  std::optional<std::string_view> Value(std::string_view key) const;

  std::unique_ptr<Found> found_;
};

}  // namespace orbe

#endif  // ORBE_PLATFORM_PROFILE_H_
