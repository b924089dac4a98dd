// The sample market: a deterministic generator that fills one SQLite database with the dictionary
// (tables, fields, constants, time stamps) and the data tables a realistic market needs, so the data
// service has something real to serve in tests, demos and benchmarks.
#pragma once

#include <string>

namespace orbe::sample {

// Creates (or replaces) the database at db_path. scale 1.0 is the full market (about 4 000 A-share
// stocks); smaller scales shrink every population but keep a handful of each kind at any scale > 0.
// The same scale always produces the same content. On failure returns false and describes why in *error.
bool MakeSampleMarket(const std::string& db_path, double scale, std::string* error);

// The same market loaded into the PostgreSQL database of `uri` (SQL_ASCII, C
// collation), replacing the tables of an earlier load in one transaction.
bool MakeSampleMarketInPostgres(const std::string& uri, double scale, std::string* error);

}  // namespace orbe::sample
