// SELECT reply records and statistics values from the storage's rows. The
// reply bodies around them are the wire library's (protocol/replies.h).
#ifndef ORBE_SERVER_STATEMENT_REPLY_H_
#define ORBE_SERVER_STATEMENT_REPLY_H_

#include <cstdint>
#include <string>
#include <vector>

#include "sql_connection.h"
#include "statement_model.h"

namespace orbe::server {

// Lays a result row out as a reply record: the selected fields in request
// order, each at the running sum of the widths before it, then the data area
// of the type-11/12 texts (u32 length, bytes), which the fixed part points at
// with a u32 offset from the record start. NULL reads as 0 or empty text.
class RecordEncoder {
 public:
  explicit RecordEncoder(std::vector<const SchemaField*> fields);
  // Column i of the row is field i.
  std::string Encode(const SqlRow& row) const;
  std::size_t FixedSize() const { return fixed_size_; }

 private:
  std::vector<const SchemaField*> fields_;
  std::vector<std::size_t> offsets_;
  std::size_t fixed_size_ = 0;
};

// The statistics reply (wire::EncodeStatResult) with the value of column 0 of `row` for the statement's function
// and field: COUNT i32 (type 4); AVG f64 (8); SUM i64 (5) or f64 (8); MAX
// and MIN in the field's kind: i32 (4) for 3, 4, 6, 9, i64 (5), the date and
// time pair (10), f64 (8) for 7 and 8, text bytes (2). A NULL result of MAX,
// MIN or AVG (no record) is status 1 with no value; SUM of nothing is 0.
std::string EncodeStatRow(const StatStatement& statement, const SqlRow& row);

// The longest prefix of at most `limit` bytes that ends on a GBK character boundary.
std::size_t CharacterPrefix(std::string_view text, std::size_t limit);

}  // namespace orbe::server

#endif  // ORBE_SERVER_STATEMENT_REPLY_H_
