// Shared steps of CwFileUtil's reference lookups: the caller's buffer, the
// session's tables and their indexes, and list results.
#ifndef ORBE_SRC_DICTIONARY_REFERENCE_LOOKUP_H_
#define ORBE_SRC_DICTIONARY_REFERENCE_LOOKUP_H_

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/reference_index.h"
#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/platform/text.h"

namespace orbe {

inline bool IsEmptyKey(const char* key) { return key == nullptr || *key == '\0'; }

// Zero-fills the caller's buffer; false when there is none to fill. Every
// lookup clears the buffer first, so a stale answer never survives a miss.
inline bool ClearOut(char* out, int outLength) {
  if (out == nullptr || outLength <= 0) return false;
  std::memset(out, 0, static_cast<std::size_t>(outLength));
  return true;
}

inline void CopyOut(char* out, int outLength, std::string_view value) {
  CopyBounded(out, static_cast<std::size_t>(outLength), value);
}

// The session's tables; null without a session.
inline const ReferenceTables* TablesOf(const OrbeClientSession* session) {
  return session == nullptr ? nullptr : &session->References();
}

inline const std::int32_t* FindRow(const FirstRowIndex& index, const char* key) {
  const auto found = index.find(std::string(key));
  return found == index.end() ? nullptr : &found->second;
}

inline const std::vector<std::int32_t>* FindRows(const RowListIndex& index, const char* key) {
  const auto found = index.find(std::string(key));
  return found == index.end() ? nullptr : &found->second;
}

// The field of each listed row, in the order listed.
template <typename Row, std::size_t N>
std::vector<std::string> FieldsOfRows(const std::vector<Row>& rows, const std::vector<std::int32_t>* listed,
                                      char (Row::*field)[N]) {
  std::vector<std::string> texts;
  if (listed == nullptr) return texts;
  texts.reserve(listed->size());
  for (const std::int32_t row : *listed) texts.emplace_back(TextOf(rows[row].*field));
  return texts;
}

// Where each table's rows and indexes are.
template <typename Row>
struct TableTraits;
template <>
struct TableTraits<tagSECUMAIN> {
  using Index = SecuMainIndex;
  static const Index& IndexOf(const ReferenceIndex& index) { return index.secu_main; }
  static const std::vector<tagSECUMAIN>& Rows(const ReferenceTables& tables) { return tables.SecuMain(); }
};
template <>
struct TableTraits<tagGGINFO> {
  using Index = GGInfoIndex;
  static const Index& IndexOf(const ReferenceIndex& index) { return index.gg_info; }
  static const std::vector<tagGGINFO>& Rows(const ReferenceTables& tables) { return tables.GGInfo(); }
};
template <>
struct TableTraits<tagJJINFO> {
  using Index = JJInfoIndex;
  static const Index& IndexOf(const ReferenceIndex& index) { return index.jj_info; }
  static const std::vector<tagJJINFO>& Rows(const ReferenceTables& tables) { return tables.JJInfo(); }
};
template <>
struct TableTraits<tagZQINFO> {
  using Index = ZQInfoIndex;
  static const Index& IndexOf(const ReferenceIndex& index) { return index.zq_info; }
  static const std::vector<tagZQINFO>& Rows(const ReferenceTables& tables) { return tables.ZQInfo(); }
};

// The field of the first row whose key field equals key; nullopt when there
// is no session or no such row. The key must not be null.
template <typename Row, std::size_t N>
std::optional<std::string_view> FirstField(OrbeClientSession* session, const char* key,
                                           FirstRowIndex TableTraits<Row>::Index::*index,
                                           char (Row::*field)[N]) {
  const ReferenceTables* tables = TablesOf(session);
  if (tables == nullptr) return std::nullopt;
  const std::int32_t* row = FindRow(TableTraits<Row>::IndexOf(tables->Index()).*index, key);
  if (row == nullptr) return std::nullopt;
  return TextOf(TableTraits<Row>::Rows(*tables)[*row].*field);
}

// The buffer shape: out cleared, then the field of the first matching row.
template <typename Row, std::size_t N>
void AnswerFirst(OrbeClientSession* session, char* out, int outLength, const char* key,
                 FirstRowIndex TableTraits<Row>::Index::*index, char (Row::*field)[N]) {
  if (!ClearOut(out, outLength) || IsEmptyKey(key)) return;
  const std::optional<std::string_view> found = FirstField(session, key, index, field);
  if (found) CopyOut(out, outLength, *found);
}

// The list shape: the field of every matching row, in stored order.
template <typename Row, std::size_t N>
std::vector<std::string> AnswerRows(OrbeClientSession* session, const char* key,
                                    RowListIndex TableTraits<Row>::Index::*index, char (Row::*field)[N]) {
  const ReferenceTables* tables = TablesOf(session);
  if (tables == nullptr || IsEmptyKey(key)) return {};
  const std::vector<std::int32_t>* rows = FindRows(TableTraits<Row>::IndexOf(tables->Index()).*index, key);
  return FieldsOfRows(TableTraits<Row>::Rows(*tables), rows, field);
}

// Ascending byte order without repeats, as an ordered set returns them.
std::vector<std::string> SortedUnique(std::vector<std::string> texts);

}  // namespace orbe

#endif  // ORBE_SRC_DICTIONARY_REFERENCE_LOOKUP_H_
