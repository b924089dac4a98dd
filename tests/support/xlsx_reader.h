// Reads the first sheet of an .xlsx with Python's zipfile and XML parser only
// (no spreadsheet library), one line per cell: "A1=n:value" or "A1=s:text"
// (texts UTF-8). Tests compare what the module wrote with this reading.
#ifndef ORBE_TESTS_SUPPORT_XLSX_READER_H_
#define ORBE_TESTS_SUPPORT_XLSX_READER_H_

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace orbe_test {

inline constexpr const char kXlsxReader[] = R"PY(
import sys, zipfile, xml.etree.ElementTree as ET
ns = {'m': 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'}
z = zipfile.ZipFile(sys.argv[1])
shared = []
if 'xl/sharedStrings.xml' in z.namelist():
    for si in ET.fromstring(z.read('xl/sharedStrings.xml')).findall('m:si', ns):
        shared.append(''.join(t.text or '' for t in si.iter('{%s}t' % ns['m'])))
sheet = ET.fromstring(z.read('xl/worksheets/sheet1.xml'))
for c in sheet.iter('{%s}c' % ns['m']):
    ref = c.get('r'); v = c.find('m:v', ns)
    col = ''.join(ch for ch in ref if ch.isalpha()); row = ''.join(ch for ch in ref if ch.isdigit())
    if c.get('t') == 's':
        print('%s%s=s:%s' % (col, row, shared[int(v.text)]))
    elif c.get('t') == 'inlineStr':
        print('%s%s=s:%s' % (col, row, ''.join(t.text or '' for t in c.iter('{%s}t' % ns['m']))))
    else:
        print('%s%s=n:%r' % (col, row, float(v.text)))
)PY";

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

// The cells of the first sheet as the reader prints them; `scratch` is a
// folder for the reader's script.
inline std::string ReadXlsxCells(const std::string& xlsx, const std::string& scratch) {
  const std::string script = scratch + "/read_xlsx.py";
  std::ofstream(script, std::ios::trunc) << kXlsxReader;
  return RunCommandOutput("/usr/bin/python3 " + script + " " + xlsx);
}

}  // namespace orbe_test

#endif  // ORBE_TESTS_SUPPORT_XLSX_READER_H_
