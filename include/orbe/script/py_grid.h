// The script grid loader: a ready-made quote grid (with its scroll bars and,
// below it, a histogram of the selected column) whose rows, columns and data
// a script supplies. The host sees VCFGFunc; the script reaches IPyGrid
// through the "pygrid" module (docs/script.md, "The grid loader").
#ifndef ORBE_SCRIPT_PY_GRID_H_
#define ORBE_SCRIPT_PY_GRID_H_

#include <cstdint>
#include <string>

#include "orbe/platform/types.h"

class CWnd;

// What a script does with its grid. Rows are data rows from 0 (under the
// heading row) unless the operation says grid rows; columns from 0.
class IPyGrid {
 public:
  virtual ~IPyGrid() = default;
  // Script errors are shown (and each load reloads the script) while on.
  virtual void SetDebug(bool on) = 0;  // 1
  // A SELECT on the loader's reply handle; refused while one is outstanding.
  // When the reply arrives, `callback` (a function of the script, called
  // without arguments) reads it. The option text, when not empty, travels
  // with the statement as an SQL option of that type.
  virtual bool FetchData(const std::string& callback, const std::string& sql, int option_type,
                         const std::string& option_text) = 0;  // 2
  virtual void PostLayout() = 0;                               // 3: message 1028
  // The last reply: its records and fields by name ("T001"). Outside the
  // records: "", 87654321, 0.0.
  virtual int GetRecordCount() = 0;                                               // 4
  virtual std::string GetFieldAsString(int record, const std::string& field) = 0;  // 5
  virtual int GetFieldAsInt(int record, const std::string& field) = 0;             // 6
  virtual double GetFieldAsDouble(int record, const std::string& field) = 0;       // 7
  // Forgets the last reply's records.
  virtual void ReleaseReply() = 0;  // 8
  virtual void RedrawGrid() = 0;    // 9
  // Removes every column and row.
  virtual void ClearGrid() = 0;                            // 10
  virtual bool SortGrid(int col, bool ascending) = 0;      // 11
  virtual void ResizeZeroWidthColumns() = 0;               // 12
  virtual bool SetFixedColumnCount(int count) = 0;         // 13
  // A column head: name (at most 100 bytes), width (0: fitted), alignment (0
  // left, 1 right, 2 centre), decimals and scale of its numbers, whether it
  // is numeric, its head type (27: a picture summary opened by a double
  // click), the histogram's decimals, scale and bottom labels for it, whether
  // it holds security codes, and where it goes (-1 last). Gives the column.
  virtual int InsertHead(const std::string& name, int width, int align, int decimals, double scale, int numeric,
                         int head_type, int histogram_decimals, double histogram_scale, int bottom_labels,
                         int code_column, int col) = 0;  // 14
  // The short form: a right-aligned column at the end.
  virtual int InsertHeadSimple(const std::string& name, int width, int numeric) = 0;  // 15
  // Cell data by value type; a row at or past the end adds rows up to it.
  virtual bool SetCellText(int row, int col, const std::string& text) = 0;                           // 16
  virtual bool SetCellTextColor(int row, int col, const std::string& text, COLORREF color) = 0;     // 17
  virtual bool SetCellInt(int row, int col, int value) = 0;                                          // 18
  virtual bool SetCellIntColor(int row, int col, int value, COLORREF color) = 0;                     // 19
  virtual bool SetCellDouble(int row, int col, double value) = 0;                                    // 20
  virtual bool SetCellDoubleColor(int row, int col, double value, COLORREF color) = 0;               // 21
  virtual bool SetCellInt64(int row, int col, std::int64_t value) = 0;                               // 22
  virtual bool SetCellDate(int row, int col, int yyyymmdd) = 0;                                      // 23
  // A live update: red when the value rose, green when it fell.
  virtual bool UpdateCellDouble(int row, int col, double value) = 0;  // 24
  virtual void SetOptionValue(int value) = 0;                         // 25
  virtual bool SetFixedRowCount(int count) = 0;                       // 26
  // -1 without a grid.
  virtual int GetRowCount() = 0;      // 27
  virtual int GetHeadRowCount() = 0;  // 28
  virtual int GetDataRowCount() = 0;  // 29
  // A cell by grid row (the heading is row 0) and by data row.
  virtual std::string GetCellText(int row, int col) = 0;      // 30
  virtual std::string GetDataCellText(int row, int col) = 0;  // 31
  // The first data row whose cell in `col` is `key`, -1 for none.
  virtual int FindRow(int col, const std::string& key) = 0;  // 32
  // Texts handed to the host's data function: a quote field of a security
  // (by its number in the quote record), the same on one market, the codes of
  // a host board by name (joined by ","), and a security's listing board (0),
  // price decimals (1) or kind (2).
  virtual std::string HostQuote(const std::string& code, int field) = 0;                     // 33
  virtual std::string HostQuoteOnMarket(const std::string& code, int market, int field) = 0;  // 34
  virtual std::string HostBoardCodes(const std::string& board) = 0;                          // 35
  virtual std::string HostSecurityText(const std::string& code, int which) = 0;              // 36
  // A message box captioned "信息", only while debugging.
  virtual void DebugMessageBox(const std::string& text) = 0;  // 37
};

// How the host dresses the grid.
struct PyGridLook {
  COLORREF head_bk = 0;
  COLORREF head_text = 0xFFFF52;
  COLORREF body_bk = 0;
  COLORREF body_text = 0xFFFFFF;
  int head_font_size = 9;
  std::string head_font_face;  // GBK; "" the default
  int body_font_size = 9;
  std::string body_font_face;
  int scroll_bar_style = 0;  // the bars' look (KVXSetScrollBarType's numbering)
};

// What the host does with a loader.
class VCFGFunc {
 public:
  virtual ~VCFGFunc() = default;
  // Option 1001 sets the debug switch (non-zero on); any other stores the value.
  virtual void SetOption(int value, int option) = 0;            // 1
  virtual void ApplyAppearance(const PyGridLook& look) = 0;      // 2
  // Loads a script file: the code column is cleared, the file's folder joins
  // the search paths, "InitGrid" is called. Refused while a request is out.
  virtual bool LoadScript(const std::string& path) = 0;          // 3
  // The same, with the histogram switched off (grid only) or on.
  virtual bool LoadScriptEx(const std::string& path, bool grid_only) = 0;  // 4
  virtual void Reserved5() = 0;  // 5: no effect
  virtual void Reserved6() = 0;  // 6: no effect
  // Moves the window to (left, top, right, bottom); repaint as the platform's.
  virtual void MoveWindow(int left, int top, int right, int bottom, int repaint) = 0;  // 7
  virtual int GetRowCount() = 0;     // 8: -1 without a grid
  virtual int GetColumnCount() = 0;  // 9: -1 without a grid
  virtual void PostLayout() = 0;     // 10: message 1028
  // Focus into the grid, on its focus row or else the first shown data row.
  virtual void FocusGrid() = 0;                 // 11
  // The focused row's cells joined by tabs; "" without one.
  virtual std::string GetFocusRowText() = 0;    // 12
  virtual void PostUpdateHQ() = 0;              // 13: message 1029
};

extern "C" {
// A loader window (class "PyGridLoader") made as a child of `parent` with an
// empty rectangle; style, id and extended style go to window creation. Null
// on failure.
VCFGFunc* CreatePyGridWnd(CWnd* parent, DWORD style, UINT id, DWORD ex_style);
// Destroys the window and deletes the loader; a pointer of another kind is ignored.
void DestroyPyGridWnd(VCFGFunc* grid);
}

#endif  // ORBE_SCRIPT_PY_GRID_H_
