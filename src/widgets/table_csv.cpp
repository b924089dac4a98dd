#include "orbe/platform/file.h"
#include "orbe/platform/text.h"
#include "orbe/widgets/table_export.h"

namespace orbe {
namespace {

std::string CsvField(const TableCell& cell) {
  if (cell.is_number) return Format("%.15g", cell.number);
  const std::string text = GbkToUtf8(cell.text);
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

std::string TablesToCsv(const std::vector<Table>& tables) {
  std::string csv = "\xEF\xBB\xBF";
  bool first = true;
  for (const Table& table : tables) {
    if (!first) csv += "\r\n";
    first = false;
    if (!table.title.empty()) csv += CsvField({table.title}) + "\r\n";
    for (const auto& row : table.rows) {
      for (std::size_t c = 0; c < row.size(); ++c) {
        if (c > 0) csv += ',';
        csv += CsvField(row[c]);
      }
      csv += "\r\n";
    }
  }
  return csv;
}

bool SaveTablesAsCsv(const std::vector<Table>& tables, const std::string& path) {
  return WriteFileAtomically(path, TablesToCsv(tables));
}

}  // namespace orbe
