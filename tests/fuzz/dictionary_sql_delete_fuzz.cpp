// DELETE statements of any bytes over a fixed dictionary.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "../dictionary/sql_test_dictionary.h"
#include "dictionary/sql_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const orbe::sql_test::TestDictionary dictionary;
  cw_sqldelete_req request;
  const std::string_view statement(reinterpret_cast<const char*>(data), size);
  orbe::sql::ParseDelete(dictionary.get(), statement, &request);
  return 0;
}
