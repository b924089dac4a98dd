// The dictionary half of the storage contract: orbe_tables, orbe_fields,
// orbe_consts and orbe_timestamps, which the server turns into the three
// dictionary files and answers time-stamp questions from.
#pragma once

#include <cstdint>

#include "dictionary/dictionary_writer.h"
#include "sample/sample_store.h"

namespace orbe::sample {

// Creates and fills the four dictionary tables; every table gets the stamp.
void WriteDictionary(SampleStore& store, const DictionarySchema& schema, std::int64_t stamp);

// Indexes are built after the bulk load, which is several times faster than
// maintaining them row by row.
void CreateIndexes(SampleStore& store, const std::vector<SchemaTable>& tables);

}  // namespace orbe::sample
