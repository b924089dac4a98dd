// INSERT statements of any bytes over a fixed dictionary. The first byte
// sizes the value area, allocated exactly so that any write past it is caught.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "../dictionary/sql_test_dictionary.h"
#include "dictionary/sql_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const orbe::sql_test::TestDictionary dictionary;
  if (size == 0) return 0;
  const std::size_t area_size = data[0] % 64;
  const auto area = std::make_unique<std::uint8_t[]>(area_size);
  const std::string_view statement(reinterpret_cast<const char*>(data) + 1, size - 1);
  cw_sqlinsert_req request;
  if (orbe::sql::ParseInsert(dictionary.get(), statement, &request, area.get(), area_size)) {
    if (request.value_length > area_size) __builtin_trap();
  }
  return 0;
}
