// Tables as the user sees them, written to .xlsx (libxlsxwriter) or CSV.
#ifndef ORBE_WIDGETS_TABLE_EXPORT_H_
#define ORBE_WIDGETS_TABLE_EXPORT_H_

#include <string>
#include <vector>

namespace orbe {

struct TableCell {
  std::string text;  // GBK, as shown
  bool is_number = false;
  double number = 0;
};

struct Table {
  std::string title;  // GBK; written above the table when not empty
  int header_rows = 0;
  std::vector<std::vector<TableCell>> rows;
};

// One worksheet, the tables one below the other with a blank row between;
// numbers as numeric cells, header rows bold. Written to a temporary file
// and renamed, so a failed export leaves an older file intact.
bool SaveTablesAsXlsx(const std::vector<Table>& tables, const std::string& path);
// RFC 4180 (quotes doubled, CRLF), UTF-8 with a byte-order mark so that
// spreadsheet programs read the Chinese texts; numbers unformatted.
std::string TablesToCsv(const std::vector<Table>& tables);
bool SaveTablesAsCsv(const std::vector<Table>& tables, const std::string& path);

}  // namespace orbe

#endif  // ORBE_WIDGETS_TABLE_EXPORT_H_
