#include "dataservice/prepared_selects.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "dataservice/reply_packets.h"
#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/dictionary/field_name.h"

namespace orbe {
namespace {

// Enough for the statements of several open windows; past it the memo starts
// over rather than tracking which statement went unused longest.
constexpr std::size_t kMaxPrepared = 256;

class Memo {
 public:
  std::shared_ptr<const PreparedSelect> Find(const std::string& key) {
    const std::lock_guard<std::mutex> hold(mutex_);
    const auto found = by_key_.find(key);
    return found == by_key_.end() ? nullptr : found->second;
  }

  void Keep(std::string key, std::shared_ptr<const PreparedSelect> prepared) {
    const std::lock_guard<std::mutex> hold(mutex_);
    if (by_key_.size() >= kMaxPrepared) by_key_.clear();
    by_key_.insert_or_assign(std::move(key), std::move(prepared));
  }

 private:
  std::mutex mutex_;
  std::unordered_map<std::string, std::shared_ptr<const PreparedSelect>> by_key_;
};

Memo& TheMemo() {
  static Memo memo;
  return memo;
}

// A statement text holds no NUL, so the key is unambiguous.
std::string MemoKey(std::uint64_t generation, std::string_view sql, std::string_view options) {
  std::string key(sizeof generation, '\0');
  std::memcpy(key.data(), &generation, sizeof generation);
  key.append(sql);
  key.push_back('\0');
  key.append(options);
  return key;
}

std::vector<tagMemFieldInfo> FieldListOf(OrbeClientSession* session, const cw_command_req& record) {
  std::vector<tagMemFieldInfo> fields;
  std::uint32_t offset = 0;
  const int count = std::min<int>(record.field_count, kMaxStatementFields);
  for (int i = 0; i < count; ++i) {
    const std::string name = GeneratedFieldName(record.fields[i]);
    tagMemFieldInfo field{};
    if (!CwFileUtil::GetOneFieldInfo(session, static_cast<DWORD>(record.table), name.c_str(), &field))
      continue;
    field.offset = offset;
    offset += field.width;
    fields.push_back(field);
  }
  return fields;
}

std::shared_ptr<const PreparedSelect> Parse(OrbeClientSession* session, const char* sql,
                                            std::string_view options) {
  auto prepared = std::make_shared<PreparedSelect>();
  if (!CwFileUtil::ParseReqCommand(session, sql, &prepared->record)) return nullptr;
  prepared->fields = FieldListOf(session, prepared->record);
  prepared->cache_key = CacheKeyOf(sql, options);
  return prepared;
}

}  // namespace

std::shared_ptr<const PreparedSelect> PrepareSelect(OrbeClientSession* session, const char* sql,
                                                    std::string_view options) {
  if (session == nullptr || sql == nullptr) return nullptr;
  // Read before the parse: a dictionary replaced meanwhile leaves the entry
  // under the older generation, where nobody looks again.
  std::string key = MemoKey(session->Dictionary().Generation(), sql, options);
  if (std::shared_ptr<const PreparedSelect> known = TheMemo().Find(key)) return known;
  std::shared_ptr<const PreparedSelect> prepared = Parse(session, sql, options);
  if (prepared != nullptr) TheMemo().Keep(std::move(key), prepared);
  return prepared;
}

}  // namespace orbe
