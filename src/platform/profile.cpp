#include "orbe/platform/profile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

#include "ini_document.h"
#include "no_destructor.h"
#include "orbe/platform/file.h"
#include "orbe/platform/file_version_cache.h"
#include "orbe/platform/text.h"

namespace orbe {
namespace {

// Enough for every settings file a session touches; the least recently used
// parsed copy goes first.
constexpr size_t kCachedFiles = 64;

struct LoadedProfile {
  std::shared_ptr<const IniDocument> document;  // null: missing or unreadable
  bool missing = false;                         // no file at all; a write may create it
};

// Parsed copies keyed by path, valid while the file keeps its identity. A
// report reads hundreds of keys one call at a time; each call costs one stat.
class ProfileCache {
 public:
  LoadedProfile Load(const std::string& path) {
    const std::optional<FileIdentity> identity = IdentifyFile(path);
    if (!identity) return {nullptr, !FileExists(path)};
    if (auto document = kept_.Find(path, *identity)) return {std::move(document), false};
    FileIdentity read_identity;
    const std::optional<std::string> bytes = ReadWholeFile(path, &read_identity);
    if (!bytes) return {nullptr, false};
    auto document = std::make_shared<const IniDocument>(IniDocument::Parse(*bytes));
    Store(path, read_identity, document);
    return {std::move(document), false};
  }

  void Store(const std::string& path, const FileIdentity& identity,
             std::shared_ptr<const IniDocument> document) {
    kept_.Store(path, identity, std::move(document));
  }
  void Forget(const std::string& path) { kept_.Forget(path); }
  void Clear() { kept_.Clear(); }

 private:
  FileVersionCache<IniDocument> kept_{kCachedFiles};
};

// Never destroyed: settings are still written from static destructors.
ProfileCache& Cache() {
  static NoDestructor<ProfileCache> cache;
  return *cache.get();
}

// Serialises read-modify-write in the process, so concurrent writers of
// different keys never lose each other's change.
std::mutex& WriteLock() {
  static NoDestructor<std::mutex> lock;
  return *lock.get();
}

}  // namespace

struct ProfileReadScope::Pinned {
  std::string path;
  LoadedProfile loaded;
};

namespace {

// The innermost ProfileReadScope of this thread; null without one.
thread_local ProfileReadScope::Pinned* t_pinned = nullptr;

LoadedProfile LoadProfile(LPCSTR file) {
  if (file == nullptr || *file == '\0') return {nullptr, true};
  if (t_pinned != nullptr && t_pinned->path == file) return t_pinned->loaded;
  return Cache().Load(file);
}

// A write by this thread shows in its pinned copy at once.
void RefreshPinned(const std::string& path, const LoadedProfile& written) {
  if (t_pinned != nullptr && t_pinned->path == path) t_pinned->loaded = written;
}

template <typename Edit>
bool EditProfile(const std::string& path, Edit edit) {
  if (path.empty()) return false;
  const std::lock_guard lock(WriteLock());
  const LoadedProfile loaded = Cache().Load(path);
  // An unreadable file must not be replaced by one holding only this change.
  if (!loaded.document && !loaded.missing) return false;
  IniDocument document = loaded.document ? *loaded.document : IniDocument();
  const IniEdit result = edit(document);
  if (result != IniEdit::kChanged) return result == IniEdit::kUnchanged;
  FileIdentity identity;
  if (!WriteFileAtomically(path, document.Serialize(), &identity)) {
    Cache().Forget(path);
    RefreshPinned(path, Cache().Load(path));
    return false;
  }
  auto stored = std::make_shared<const IniDocument>(std::move(document));
  Cache().Store(path, identity, stored);
  RefreshPinned(path, LoadedProfile{std::move(stored), false});
  return true;
}

// Windows trims trailing spaces (not other blanks) from the default.
std::string_view TrimDefault(std::string_view def) {
  while (!def.empty() && def.back() == ' ') def.remove_suffix(1);
  return def;
}

// A value that does not fit is cut (never inside a double-byte character)
// and reported as size-1, which callers take as "buffer too small".
DWORD CopyValue(LPSTR ret, DWORD size, std::string_view text) {
  const size_t copied = CopyBounded(ret, size, text);
  return copied == text.size() ? static_cast<DWORD>(copied) : size - 1;
}

// Whether a list exactly as long as the buffer fits. Windows counts it as
// too small for the list of section names only.
enum class ExactFit { kFits, kTooSmall };

// NUL-terminated items and a final NUL; a list that does not fit is cut,
// ends in two NULs and is reported as size-2.
DWORD CopyList(LPSTR ret, DWORD size, const std::vector<std::string>& items,
               ExactFit exact_fit = ExactFit::kFits) {
  std::string packed;
  for (const std::string& item : items) {
    packed += item;
    packed += '\0';
  }
  if (size < 2) {
    ret[0] = '\0';
    return 0;
  }
  if (packed.empty()) {
    // An empty list still reads as a list: two NULs.
    ret[0] = ret[1] = '\0';
    return 0;
  }
  if (packed.size() + 1 < size || (packed.size() + 1 == size && exact_fit == ExactFit::kFits)) {
    // The items, then the final NUL; nothing past it is touched.
    std::memcpy(ret, packed.data(), packed.size());
    ret[packed.size()] = '\0';
    return static_cast<DWORD>(packed.size());
  }
  const size_t copied = CopyBounded(ret, size - 1, packed);
  std::memset(ret + copied, 0, size - copied);
  return size - 2;
}

std::vector<std::string> SplitDoubleNulList(LPCSTR list) {
  std::vector<std::string> items;
  for (LPCSTR p = list; *p != '\0'; p += std::strlen(p) + 1) items.emplace_back(p);
  return items;
}

// The unquoted value, or null when the key is missing or has no value.
std::optional<std::string_view> LookUp(const LoadedProfile& loaded, std::string_view section,
                                       std::string_view key) {
  if (!loaded.document) return std::nullopt;
  const std::string* value = loaded.document->FindValue(section, key);
  if (value == nullptr) return std::nullopt;
  return UnquoteIniValue(*value);
}

}  // namespace

std::string ProfileString(const std::string& file, std::string_view section, std::string_view key,
                          std::string_view def) {
  const auto value = LookUp(LoadProfile(file.c_str()), section, key);
  return std::string(value ? *value : TrimDefault(def));
}

namespace {

// As a caller of GetPrivateProfileIntA reads it: the 32 bits as an int.
int IntOfValue(const std::optional<std::string_view>& value, int def) {
  if (!value || value->empty()) return def;
  return static_cast<int>(ParseIniInteger(*value));
}

}  // namespace

int ProfileInt(const std::string& file, std::string_view section, std::string_view key, int def) {
  return IntOfValue(LookUp(LoadProfile(file.c_str()), section, key), def);
}

struct ProfileSectionReader::Found {
  LoadedProfile loaded;
  const IniDocument::SectionIndex* section = nullptr;
};

ProfileSectionReader::ProfileSectionReader(const std::string& file, std::string_view section)
    : found_(std::make_unique<Found>()) {
  found_->loaded = LoadProfile(file.c_str());
  if (found_->loaded.document) found_->section = found_->loaded.document->FindSection(section);
}

ProfileSectionReader::~ProfileSectionReader() = default;

std::optional<std::string_view> ProfileSectionReader::Value(std::string_view key) const {
  if (found_->section == nullptr) return std::nullopt;
  const std::string* value = found_->loaded.document->FindValue(*found_->section, key);
  if (value == nullptr) return std::nullopt;
  return UnquoteIniValue(*value);
}

DWORD ProfileSectionReader::String(std::string_view key, LPCSTR def, LPSTR ret, DWORD size) const {
  if (ret == nullptr || size == 0) return 0;
  const auto value = Value(key);
  return CopyValue(ret, size, value ? *value : TrimDefault(def == nullptr ? "" : def));
}

int ProfileSectionReader::Int(std::string_view key, int def) const { return IntOfValue(Value(key), def); }

bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value) {
  return EditProfile(file, [&](IniDocument& document) { return document.SetValue(section, key, value); });
}

bool DeleteProfileKey(const std::string& file, std::string_view section, std::string_view key) {
  return EditProfile(file, [&](IniDocument& document) { return document.DeleteKey(section, key); });
}

bool DeleteProfileSection(const std::string& file, std::string_view section) {
  return EditProfile(file, [&](IniDocument& document) { return document.DeleteSection(section); });
}

std::vector<std::string> ProfileSectionNames(const std::string& file) {
  const LoadedProfile loaded = LoadProfile(file.c_str());
  return loaded.document ? loaded.document->SectionNames() : std::vector<std::string>();
}

std::vector<std::string> ProfileKeys(const std::string& file, std::string_view section) {
  const LoadedProfile loaded = LoadProfile(file.c_str());
  return loaded.document ? loaded.document->KeyNames(section) : std::vector<std::string>();
}

std::vector<std::string> ProfileSection(const std::string& file, std::string_view section) {
  const LoadedProfile loaded = LoadProfile(file.c_str());
  return loaded.document ? loaded.document->SectionEntries(section) : std::vector<std::string>();
}

void FlushProfileCache() { Cache().Clear(); }

ProfileReadScope::ProfileReadScope(const std::string& file)
    : pinned_(std::make_unique<Pinned>(Pinned{file, file.empty() ? LoadedProfile{nullptr, true} : Cache().Load(file)})),
      previous_(t_pinned) {
  t_pinned = pinned_.get();
}

ProfileReadScope::~ProfileReadScope() { t_pinned = previous_; }

}  // namespace orbe

using orbe::LoadedProfile;

DWORD GetPrivateProfileStringA(LPCSTR app, LPCSTR key, LPCSTR def, LPSTR ret, DWORD size, LPCSTR file) {
  if (ret == nullptr || size == 0) return 0;
  if (app == nullptr) return GetPrivateProfileSectionNamesA(ret, size, file);
  const std::string_view fallback = orbe::TrimDefault(def == nullptr ? "" : def);
  const LoadedProfile loaded = orbe::LoadProfile(file);
  if (key == nullptr) {
    const std::vector<std::string> keys =
        loaded.document ? loaded.document->KeyNames(app) : std::vector<std::string>();
    if (!keys.empty()) return orbe::CopyList(ret, size, keys);
    // No keys: the default stands in, still ending as a list.
    const DWORD copied = orbe::CopyValue(ret, size, fallback);
    if (copied + 1 < size) ret[copied + 1] = '\0';
    return copied;
  }
  const auto value = orbe::LookUp(loaded, app, key);
  return orbe::CopyValue(ret, size, value ? *value : fallback);
}

UINT GetPrivateProfileIntA(LPCSTR app, LPCSTR key, int def, LPCSTR file) {
  // Without both names there is no single value to read a number from.
  if (app == nullptr || key == nullptr) return static_cast<UINT>(def);
  const auto value = orbe::LookUp(orbe::LoadProfile(file), app, key);
  if (!value || value->empty()) return static_cast<UINT>(def);
  return orbe::ParseIniInteger(*value);
}

BOOL WritePrivateProfileStringA(LPCSTR app, LPCSTR key, LPCSTR value, LPCSTR file) {
  if (app == nullptr && key == nullptr && value == nullptr) {
    // The documented "flush the cache" call; Windows reports FALSE for it.
    if (file != nullptr)
      orbe::Cache().Forget(file);
    else
      orbe::FlushProfileCache();
    return FALSE;
  }
  if (app == nullptr || file == nullptr) return FALSE;
  if (key == nullptr) return orbe::DeleteProfileSection(file, app) ? TRUE : FALSE;
  if (value == nullptr) return orbe::DeleteProfileKey(file, app, key) ? TRUE : FALSE;
  return orbe::WriteProfileString(file, app, key, value) ? TRUE : FALSE;
}

DWORD GetPrivateProfileSectionA(LPCSTR app, LPSTR ret, DWORD size, LPCSTR file) {
  if (ret == nullptr || size == 0) return 0;
  const LoadedProfile loaded = orbe::LoadProfile(file);
  if (app == nullptr || !loaded.document) return orbe::CopyList(ret, size, {});
  return orbe::CopyList(ret, size, loaded.document->SectionEntries(app));
}

DWORD GetPrivateProfileSectionNamesA(LPSTR ret, DWORD size, LPCSTR file) {
  if (ret == nullptr || size == 0) return 0;
  const LoadedProfile loaded = orbe::LoadProfile(file);
  if (!loaded.document) {
    // No file: one NUL, and not a byte beyond it.
    ret[0] = '\0';
    return 0;
  }
  return orbe::CopyList(ret, size, loaded.document->SectionNames(), orbe::ExactFit::kTooSmall);
}

BOOL WritePrivateProfileSectionA(LPCSTR app, LPCSTR pairs, LPCSTR file) {
  if (app == nullptr || file == nullptr) return FALSE;
  if (pairs == nullptr) return orbe::DeleteProfileSection(file, app) ? TRUE : FALSE;
  const std::vector<std::string> items = orbe::SplitDoubleNulList(pairs);
  const std::vector<std::string_view> lines(items.begin(), items.end());
  return orbe::EditProfile(file,
                           [&](orbe::IniDocument& document) { return document.ReplaceSection(app, lines); })
             ? TRUE
             : FALSE;
}
