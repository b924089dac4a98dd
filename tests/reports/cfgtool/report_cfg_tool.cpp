// A stand-in for the report configuration tool that the report window's
// "配置" button loads by its original name ("ReportCfgTool.dll"). It records
// what it was called with and where, and "edits" the report: it appends
// " (已修改)" to the report's title and answers that the report changed.
#include <unistd.h>

#include <climits>
#include <fstream>
#include <string>

extern "C" int ShowCfgDlg(const char* iniPath, int reserved) {
  char folder[PATH_MAX] = {};
  if (::getcwd(folder, sizeof folder) == nullptr) folder[0] = '\0';
  const std::string path = iniPath != nullptr ? iniPath : "";
  std::ofstream(path + ".seen", std::ios::trunc) << folder << "\n" << reserved << "\n";
  std::ifstream in(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string key = "TITLE=";
  const std::size_t at = text.find(key);
  if (at == std::string::npos) return 0;
  text.insert(text.find('\r', at), " (已修改)");
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  return 1;
}
