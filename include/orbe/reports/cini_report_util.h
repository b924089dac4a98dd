// Reading report INI files into a ScrollWndCfg, the typed INI accessors, and
// the expansion of the macros in a report's statements and URLs.
// docs/reports.md describes the file format and every choice made here.
#ifndef ORBE_REPORTS_CINI_REPORT_UTIL_H_
#define ORBE_REPORTS_CINI_REPORT_UTIL_H_

#include <vector>

#include "orbe/platform/types.h"
#include "orbe/reports/report_config.h"

class CIniReportUtil {
 public:
  CIniReportUtil() = delete;

  // --- configuration (report_reader.cpp, cell_readers.cpp) ---
  // The whole report; null when path is null. A missing, empty or nonsense
  // file gives a configuration without cells. Free with DestroyScrollWndCfg.
  static ScrollWndCfg* GetScrollWndCfgFromINI(const char* path);
  // Frees every cell of the map and the root; null is ignored.
  static void DestroyScrollWndCfg(ScrollWndCfg* cfg);

  // One cell section. A section already in the map is not read again: its
  // cell is returned when it is of the requested class, else null. Unless
  // forPopup, a newly read section is appended to the display order.
  static ListCfg* GetListCfgFromINI(ScrollWndCfg* cfg, const char* section, const char* path, bool forPopup);
  static ListHistogramCfg* GetListHistogramCfgFromINI(ScrollWndCfg* cfg, const char* section,
                                                      const char* path, bool forPopup);
  static ChartCfg* GetChartCfgFromINI(ScrollWndCfg* cfg, const char* section, const char* path,
                                      bool forPopup);
  static WebBrowserCfg* GetWebBrowserCfgFromINI(ScrollWndCfg* cfg, const char* section, const char* path,
                                                bool forPopup);
  static LabelCfg* GetLabelCfgFromINI(ScrollWndCfg* cfg, const char* section, const char* path,
                                      bool forPopup);
  // The section's TYPE decides the reader, called for a pop-up; null for a
  // section of no cell type.
  static CellWndCfgBase* GetCfgFromINIForPopWnd(ScrollWndCfg* cfg, const char* section, const char* path);

  // --- lookups in a configuration (report_lookup.cpp) ---
  static CellWndCfgBase* GetCfgBase(const ScrollWndCfg* cfg, const CString& sectionName);
  // The cell at that position of the display order; null out of range.
  static CellWndCfgBase* GetCfgBase(const ScrollWndCfg* cfg, int index);
  // The section name the cell is stored under; empty when not found.
  static CString GetCacheKey(const ScrollWndCfg* cfg, const CellWndCfgBase* cell);
  // A view of one cell of the parent: same path, title and flags, display
  // order holding only that cell, the parent's map copied (cells shared, not
  // owned). Must not outlive the parent nor be destroyed.
  static ScrollWndCfg GenerateChildScrollWndCfg(const ScrollWndCfg* parent, const CellWndCfgBase* cell);
  // Removes the first column titled exactly `title`; false when none is.
  static bool DeleteColCfgbyTitle(ListCfg* list, const CString& title);

  // --- typed INI accessors (ini_accessors.cpp) ---
  // True only for the exact text "TRUE", false only for "FALSE".
  static bool GetPrivateProfileBool(const char* section, const char* key, const char* path, bool def);
  // The value's first character; def when the value is empty.
  static char GetPrivateProfileChar(const char* section, const char* key, const char* path, char def);
  // kWndNone for an unknown TYPE or any null argument.
  static EWndType GetPrivateProfileEWndType(const char* section, const char* key, const char* path);
  static BOOL WritePrivateProfileInt(const char* section, const char* key, int value, const char* path);
  // "r,g,b" in decimal: r + g * 256 + b * 65536; missing parts are 0.
  static COLORREF string2color(const CString& text);

  // --- macros (sql_macros.cpp, time_macros.cpp) ---
  // Upper-cases the statement and expands "$#$" and "$SECUCODE$".
  static CString GenerateSql(const CString& sql, const CString& parameter, const CString& securityCode);
  // Expands the date macros from the report clock and "$REPORTTIME$" from
  // the report term.
  static CString ReplaceTimeInSql(const CString& sql, const CString& reportTerm);
  // Puts the security code in place of "******".
  static CString GenerateUrl(const CString& url, const CString& securityCode);
  // The dictionary name of the field numbered by the digits after fieldText's
  // first character ("T005" is field 5); empty when unknown.
  static CString GetFiledName(DWORD tableNumber, const CString& fieldText);

  // --- selections of the report window (report_terms.cpp) ---
  // The report terms offered on the report clock's date; the initial choice
  // is entry 1.
  static std::vector<CString> GetReportTermList();
  // Money units by index; the initial choice is entry 0.
  static std::vector<CString> GetMoneyUnitList();
};

#endif  // ORBE_REPORTS_CINI_REPORT_UTIL_H_
