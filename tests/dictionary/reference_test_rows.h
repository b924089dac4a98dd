// Building reference rows and dictionary constants for the lookup tests.
#ifndef ORBE_TESTS_DICTIONARY_REFERENCE_TEST_ROWS_H_
#define ORBE_TESTS_DICTIONARY_REFERENCE_TEST_ROWS_H_

#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_writer.h"
#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/platform/text.h"

namespace orbe::testing {

template <std::size_t N>
void Put(char (&field)[N], std::string_view text) {
  CopyToField(field, text);
}

inline tagSECUMAIN SecuRow(std::string_view inner, std::string_view company, std::string_view code,
                           std::string_view abbr, std::string_view category) {
  tagSECUMAIN row{};
  Put(row.InnerCode, inner);
  Put(row.CompanyCode, company);
  Put(row.SecuCode, code);
  Put(row.SecuAbbr, abbr);
  Put(row.SecuCategory, category);
  return row;
}

inline tagLISTEDCMP ListedRow(std::string_view code, std::string_view industry) {
  tagLISTEDCMP row{};
  Put(row.SecuCode, code);
  for (char(*field)[13] : {&row.Industry974, &row.Industry997, &row.Industry996, &row.Industry994,
                           &row.Industry966, &row.Industry964}) {
    Put(*field, industry);
  }
  return row;
}

inline tagGGINFO GGRow(std::string_view code, std::string_view company, std::string_view state,
                       std::string_view board, std::string_view industry = "") {
  tagGGINFO row{};
  Put(row.SecuCode, code);
  Put(row.CompanyCode, company);
  Put(row.SecuAbbr, std::string(code) + "-abbr");
  Put(row.ListedState, state);
  Put(row.BkID, board);
  Put(row.BkName, std::string(board) + "-name");
  Put(row.HyID, industry);
  Put(row.HyName, std::string(industry) + "-name");
  return row;
}

inline tagQHINFO QHRow(std::string_view exchange, std::string_view variety, std::string_view name,
                       std::string_view month) {
  tagQHINFO row{};
  Put(row.ExchangeCode, exchange);
  Put(row.VarietyCode, variety);
  Put(row.VarietyName, name);
  Put(row.MonthSuffix, month);
  return row;
}

inline void LoadConstants(OrbeClientSession& session, const std::vector<SchemaConst>& constants) {
  DictionarySchema schema;
  schema.constants = constants;
  const DictionaryFiles files = BuildDictionaryFiles(schema);
  LoadDictionaryBytes(session.Dictionary(), files.constants, files.tables, files.fields);
}

}  // namespace orbe::testing

#endif  // ORBE_TESTS_DICTIONARY_REFERENCE_TEST_ROWS_H_
