#include <xlsxwriter.h>

#include <cstdio>
#include <memory>

#include "orbe/platform/text.h"
#include "orbe/widgets/table_export.h"

namespace orbe {
namespace {

struct WorkbookCloser {
  void operator()(lxw_workbook* workbook) const { workbook_close(workbook); }
};
using Workbook = std::unique_ptr<lxw_workbook, WorkbookCloser>;

bool WriteTables(lxw_workbook* workbook, const std::vector<Table>& tables) {
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Sheet1");
  lxw_format* bold = workbook_add_format(workbook);
  if (sheet == nullptr || bold == nullptr) return false;
  format_set_bold(bold);
  lxw_row_t row = 0;
  for (const Table& table : tables) {
    if (!table.title.empty()) {
      if (worksheet_write_string(sheet, row++, 0, GbkToUtf8(table.title).c_str(), bold) != LXW_NO_ERROR)
        return false;
    }
    for (std::size_t r = 0; r < table.rows.size(); ++r, ++row) {
      lxw_format* format = static_cast<int>(r) < table.header_rows ? bold : nullptr;
      for (std::size_t c = 0; c < table.rows[r].size(); ++c) {
        const TableCell& cell = table.rows[r][c];
        const auto col = static_cast<lxw_col_t>(c);
        const lxw_error error =
            cell.is_number ? worksheet_write_number(sheet, row, col, cell.number, format)
                           : worksheet_write_string(sheet, row, col, GbkToUtf8(cell.text).c_str(), format);
        if (error != LXW_NO_ERROR) return false;
      }
    }
    ++row;  // a blank row between tables
  }
  return true;
}

}  // namespace

bool SaveTablesAsXlsx(const std::vector<Table>& tables, const std::string& path) {
  const std::string temporary = path + ".orbe-tmp";
  bool written = false;
  {
    Workbook workbook(workbook_new(temporary.c_str()));
    if (workbook == nullptr) return false;
    written = WriteTables(workbook.get(), tables);
    // workbook_close writes the file; its result decides, so release it here.
    written = workbook_close(workbook.release()) == LXW_NO_ERROR && written;
  }
  if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace orbe
