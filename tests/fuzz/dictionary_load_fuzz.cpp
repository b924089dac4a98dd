// Arbitrary bytes as the three dictionary files, then every lookup. Input:
// two 16-bit little-endian lengths (constant file, table file), then the
// constant bytes, the table bytes, and the rest as the field file.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "orbe/dictionary/cw_dictionary.h"
#include "orbe/platform/text.h"

namespace {

std::string_view Take(std::string_view& input, std::size_t size) {
  const std::string_view part = input.substr(0, size);
  input.remove_prefix(part.size());
  return part;
}

void ProbeTable(const orbe::CwDictionary& dictionary, std::uint32_t table_number) {
  std::vector<tagMemFieldInfo> fields(orbe::kMaxFieldsPerTable);
  const long count = dictionary.GetFieldInfo(table_number, fields.data());
  unsigned char ids[300];
  dictionary.GetFieldID(table_number, ids, sizeof(ids));
  tagMemFieldInfo field{};
  for (long i = 0; i < count && i < 40; ++i) {
    dictionary.GetOneFieldInfo(table_number, orbe::Format("T%03d", fields[i].field_number), &field);
    dictionary.GetOneFieldInfo(table_number, orbe::Format("t%d", fields[i].field_number), &field);
    dictionary.GetOneFieldInfo2(table_number, orbe::AsciiLower(fields[i].name), &field);
    unsigned char id = 0;
    dictionary.GetOneFieldID(table_number, orbe::Format("T%03d", fields[i].field_number), &id);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  if (input.size() < 4) return 0;
  const std::size_t const_size = data[0] | (data[1] << 8);
  const std::size_t table_size = data[2] | (data[3] << 8);
  input.remove_prefix(4);
  const std::string_view constants = Take(input, const_size);
  const std::string_view tables = Take(input, table_size);

  orbe::CwDictionary dictionary;
  orbe::LoadDictionaryBytes(dictionary, constants, tables, input);

  const auto all = std::make_unique<tagMemTableInfo[]>(orbe::kMaxTables);
  const long table_count = dictionary.GetAllTable(all.get());
  for (long i = 0; i < table_count && i < 50; ++i) ProbeTable(dictionary, all[i].table_number);
  ProbeTable(dictionary, 0xFFFFFFFFu);

  std::vector<tagMemConstInfo> consts(orbe::kMaxConstsPerClass);
  for (const orbe::ConstFileRecord& record : dictionary.Constants().first(
           std::min<std::size_t>(dictionary.Constants().size(), 50))) {
    const std::string const_class = orbe::FieldText(record.const_class);
    dictionary.GetConstList(const_class, consts.data());
    dictionary.GetConst(const_class, orbe::FieldText(record.code));
  }
  dictionary.GetConst("", "");
  return 0;
}
