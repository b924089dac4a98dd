// The freeze store: texts that scripts keep for the whole module under a
// group and a key (FreezeSet, FreezeGet, FreezeDel), kept across runs in the
// private folder's "container.frz". The file is rewritten atomically, so a
// process killed at any moment leaves the previous or the new content.
#ifndef ORBE_SCRIPT_FREEZE_STORE_H_
#define ORBE_SCRIPT_FREEZE_STORE_H_

#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace orbe {

class FreezeStore {
 public:
  static constexpr std::size_t kMaxEntries = 100000;
  static constexpr std::size_t kMaxValueBytes = 10239;
  static constexpr const char* kFileName = "container.frz";

  // The module's store; what changed is written when the module unloads.
  static FreezeStore& Module();

  FreezeStore() = default;
  ~FreezeStore() { Flush(); }
  FreezeStore(const FreezeStore&) = delete;
  FreezeStore& operator=(const FreezeStore&) = delete;

  // False when the group or key is empty, the value is too long, or the
  // store is full and the key is new. Replacing a value is always allowed.
  bool Set(const std::string& group, const std::string& key, const std::string& value);
  std::optional<std::string> Get(const std::string& group, const std::string& key) const;
  enum class Removal { kAbsent, kKeyRemoved, kGroupRemoved };
  Removal Remove(const std::string& group, const std::string& key);

  std::size_t EntryCount() const;
  bool Dirty() const;
  void Clear();

  // Writes the file given to Load (when one was) if anything changed since
  // the last load or write. False when the write failed (still dirty).
  bool Flush();
  // Flushes the content of the previous file, then replaces the content with
  // that of `path` (empty when it does not exist). A damaged file is moved
  // aside to `path` + ".bad" and the store starts empty.
  void Load(const std::string& path);
  std::string Path() const;

  // The file's bytes for the content, and back; nullopt for damaged bytes.
  using Groups = std::map<std::string, std::map<std::string, std::string>>;
  static std::string Serialize(const Groups& groups);
  static std::optional<Groups> Parse(std::string_view bytes);

 private:
  bool FlushLocked();

  mutable std::mutex mutex_;
  Groups groups_;
  std::size_t entries_ = 0;
  bool dirty_ = false;
  std::string path_;
};

}  // namespace orbe

#endif  // ORBE_SCRIPT_FREEZE_STORE_H_
