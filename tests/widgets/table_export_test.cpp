#include "orbe/widgets/table_export.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "orbe/widgets/vlist.h"

namespace {


std::string RunCommand(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  pclose(pipe);
  return output;
}

struct TempDir {
  std::filesystem::path path;
  TempDir() {
    char pattern[] = "/tmp/orbe_widgets_XXXXXX";
    path = mkdtemp(pattern);
  }
  ~TempDir() { std::filesystem::remove_all(path); }
};

void FillList(VList& list) {
  VListHead name, money, hidden;
  name.title = "\xc3\xfb\xb3\xc6";  // 名称
  money.title = "revenue";
  money.data_kind = 1;
  money.data_format = 1;
  money.head_format = 1;
  money.width = 70;
  hidden.title = "hidden";
  hidden.data_kind = 1;
  list.SetHead({name, money, hidden});
  const char* names[] = {"a,\"b\"", "\xd6\xd0"};
  for (int r = 0; r < 2; ++r) {
    list.AddRow();
    list.SetValue(r, 0, orbe::ListValue::Text(names[r]));
    list.SetValue(r, 2, orbe::ListValue::Number(0));
  }
  list.SetValue(0, 1, orbe::ListValue::Number(1234567.5));
  list.SetValue(1, 1, orbe::ListValue::Invalid());
  list.HideInvalidColumns();
  list.SetMoneyUnit(1);  // 千元
}

TEST(TableExport, XlsxReadsBackWithAnIndependentReader) {
  if (std::system("/usr/bin/python3 -c 'import zipfile, xml.etree.ElementTree' 2>/dev/null") != 0) {
    GTEST_SKIP() << "no python3";
  }
  TempDir dir;
  VList list;
  FillList(list);
  const std::string xlsx = (dir.path / "list.xlsx").string();
  ASSERT_TRUE(list.SaveAsExcel(xlsx));
  const std::string script = std::string(ORBE_SOURCE_DIR) + "/tests/support/read_xlsx.py";
  // The hidden column is left out; the money value is a number in 千元.
  EXPECT_EQ(RunCommand("/usr/bin/python3 " + script + " " + xlsx),
            "A1=s:\xe5\x90\x8d\xe7\xa7\xb0\n"
            "B1=s:revenue(\xe5\x8d\x83\xe5\x85\x83)\n"
            "A2=s:a,\"b\"\n"
            "B2=n:1234.57\n"
            "A3=s:\xe4\xb8\xad\n"
            "B3=s:--\n");
  EXPECT_FALSE(std::filesystem::exists(xlsx + ".orbe-tmp"));
  EXPECT_FALSE(list.SaveAsExcel((dir.path / "missing" / "x.xlsx").string()));
}

TEST(TableExport, CsvQuotesAndKeepsNumbersPlain) {
  VList list;
  FillList(list);
  orbe::Table titled = list.GetTable();
  EXPECT_EQ(titled.header_rows, 1);
  titled.title = "t\n2";
  EXPECT_EQ(orbe::TablesToCsv({titled, orbe::Table{}}),
            "\xEF\xBB\xBF\"t\n2\"\r\n"
            "\xe5\x90\x8d\xe7\xa7\xb0,revenue(\xe5\x8d\x83\xe5\x85\x83)\r\n"
            "\"a,\"\"b\"\"\",1234.57\r\n"
            "\xe4\xb8\xad,--\r\n\r\n");
  TempDir dir;
  const std::string csv = (dir.path / "list.csv").string();
  ASSERT_TRUE(list.SaveAsCsv(csv));
  EXPECT_EQ(std::filesystem::file_size(csv), orbe::TablesToCsv({list.GetTable()}).size());
}

}  // namespace
