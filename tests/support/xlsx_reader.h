// The first sheet of an .xlsx as read by Python's zipfile and XML parser only
// (no spreadsheet library, tests/support/read_xlsx.py), one line per cell:
// "A1=n:value" or "A1=s:text" (texts UTF-8). Tests compare what the module
// wrote with this reading.
#ifndef ORBE_TESTS_SUPPORT_XLSX_READER_H_
#define ORBE_TESTS_SUPPORT_XLSX_READER_H_

#include <cstdio>
#include <cstdlib>
#include <string>

namespace orbe_test {

inline bool HavePythonXlsxReader() {
  return std::system("/usr/bin/python3 -c 'import zipfile, xml.etree.ElementTree' 2>/dev/null") == 0;
}

inline std::string RunCommandOutput(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  ::pclose(pipe);
  return output;
}

// The cells of the first sheet as tests/support/read_xlsx.py prints them.
inline std::string ReadXlsxCells(const std::string& xlsx) {
  return RunCommandOutput("/usr/bin/python3 " + std::string(ORBE_SOURCE_DIR) + "/tests/support/read_xlsx.py " + xlsx);
}

}  // namespace orbe_test

#endif  // ORBE_TESTS_SUPPORT_XLSX_READER_H_
