// The freeze store and its file. Layout of "container.frz" (little-endian):
//   8 bytes  "ORBEFRZ1"
//   u32      entry count n
//   n times  u32 group length, group, u32 key length, key, u32 value length, value
//   u32      CRC-32 (zlib) of every byte before it
// Entries are written in group and key order. A file whose lengths, count or
// checksum do not add up is damaged as a whole: nothing of it is trusted.
#include "orbe/script/freeze_store.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "orbe/platform/file.h"

namespace orbe {
namespace {

constexpr char kMagic[8] = {'O', 'R', 'B', 'E', 'F', 'R', 'Z', '1'};
constexpr std::size_t kMaxFieldBytes = FreezeStore::kMaxValueBytes;

void PutU32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void PutField(std::string& out, const std::string& field) {
  PutU32(out, static_cast<std::uint32_t>(field.size()));
  out += field;
}

std::uint32_t Crc(std::string_view bytes) {
  return static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

// Reads the file's fields in order; every read is bounded by what is left.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  bool U32(std::uint32_t& value) {
    if (bytes_.size() - at_ < 4) return false;
    value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[at_ + i])) << (8 * i);
    at_ += 4;
    return true;
  }
  bool Field(std::string& field, std::size_t max) {
    std::uint32_t length = 0;
    if (!U32(length) || length > max || bytes_.size() - at_ < length) return false;
    field.assign(bytes_.substr(at_, length));
    at_ += length;
    return true;
  }
  std::size_t Remaining() const { return bytes_.size() - at_; }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

}  // namespace

FreezeStore& FreezeStore::Module() {
  static FreezeStore store;
  return store;
}

bool FreezeStore::Set(const std::string& group, const std::string& key, const std::string& value) {
  if (group.empty() || key.empty() || value.size() > kMaxValueBytes) return false;
  if (group.size() > kMaxFieldBytes || key.size() > kMaxFieldBytes) return false;
  const std::lock_guard<std::mutex> hold(mutex_);
  auto found_group = groups_.find(group);
  const bool is_new = found_group == groups_.end() || found_group->second.count(key) == 0;
  if (is_new && entries_ >= kMaxEntries) return false;
  groups_[group][key] = value;
  entries_ += is_new ? 1 : 0;
  dirty_ = true;
  return true;
}

std::optional<std::string> FreezeStore::Get(const std::string& group, const std::string& key) const {
  const std::lock_guard<std::mutex> hold(mutex_);
  const auto found_group = groups_.find(group);
  if (found_group == groups_.end()) return std::nullopt;
  const auto found = found_group->second.find(key);
  if (found == found_group->second.end()) return std::nullopt;
  return found->second;
}

FreezeStore::Removal FreezeStore::Remove(const std::string& group, const std::string& key) {
  const std::lock_guard<std::mutex> hold(mutex_);
  const auto found_group = groups_.find(group);
  if (found_group == groups_.end() || found_group->second.erase(key) == 0) return Removal::kAbsent;
  --entries_;
  dirty_ = true;
  if (!found_group->second.empty()) return Removal::kKeyRemoved;
  groups_.erase(found_group);
  return Removal::kGroupRemoved;
}

std::size_t FreezeStore::EntryCount() const {
  const std::lock_guard<std::mutex> hold(mutex_);
  return entries_;
}

bool FreezeStore::Dirty() const {
  const std::lock_guard<std::mutex> hold(mutex_);
  return dirty_;
}

void FreezeStore::Clear() {
  const std::lock_guard<std::mutex> hold(mutex_);
  dirty_ = dirty_ || entries_ > 0;
  groups_.clear();
  entries_ = 0;
}

std::string FreezeStore::Path() const {
  const std::lock_guard<std::mutex> hold(mutex_);
  return path_;
}

bool FreezeStore::Flush() {
  const std::lock_guard<std::mutex> hold(mutex_);
  return FlushLocked();
}

bool FreezeStore::FlushLocked() {
  if (!dirty_ || path_.empty()) return true;
  if (!WriteFileAtomically(path_, Serialize(groups_))) return false;
  dirty_ = false;
  return true;
}

void FreezeStore::Load(const std::string& path) {
  const std::lock_guard<std::mutex> hold(mutex_);
  FlushLocked();
  path_ = path;
  groups_.clear();
  entries_ = 0;
  dirty_ = false;
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return;
  std::optional<Groups> groups = Parse(*bytes);
  if (!groups) {
    // Kept for the user to inspect; the next write starts a sound file.
    std::error_code ignored;
    std::filesystem::rename(path, path + ".bad", ignored);
    return;
  }
  groups_ = std::move(*groups);
  for (const auto& [group, keys] : groups_) entries_ += keys.size();
}

std::string FreezeStore::Serialize(const Groups& groups) {
  std::string out(kMagic, sizeof kMagic);
  std::size_t count = 0;
  for (const auto& entry : groups) count += entry.second.size();
  PutU32(out, static_cast<std::uint32_t>(count));
  for (const auto& [group, keys] : groups) {
    for (const auto& [key, value] : keys) {
      PutField(out, group);
      PutField(out, key);
      PutField(out, value);
    }
  }
  PutU32(out, Crc(out));
  return out;
}

std::optional<FreezeStore::Groups> FreezeStore::Parse(std::string_view bytes) {
  if (bytes.size() < sizeof kMagic + 8 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
    return std::nullopt;
  }
  const std::string_view body = bytes.substr(0, bytes.size() - 4);
  Reader crc_reader(bytes.substr(bytes.size() - 4));
  std::uint32_t crc = 0;
  if (!crc_reader.U32(crc) || crc != Crc(body)) return std::nullopt;
  Reader reader(body.substr(sizeof kMagic));
  std::uint32_t count = 0;
  if (!reader.U32(count) || count > kMaxEntries) return std::nullopt;
  Groups groups;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::string group, key, value;
    if (!reader.Field(group, kMaxFieldBytes) || !reader.Field(key, kMaxFieldBytes) ||
        !reader.Field(value, kMaxValueBytes) || group.empty() || key.empty()) {
      return std::nullopt;
    }
    if (!groups[group].emplace(std::move(key), std::move(value)).second) return std::nullopt;
  }
  if (reader.Remaining() != 0) return std::nullopt;
  return groups;
}

}  // namespace orbe
