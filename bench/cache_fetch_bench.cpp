// A 4 000-record reply (10 fields per record, one packet per record as the
// server sends them) loaded from the reply cache, next to the same rows
// fetched by their SELECT on the storage's SQLite file in-process: the work a
// server fetch cannot avoid, before any network. The ratio cache/fetch is the
// figure to watch (goal <= 0.2).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include "protocol/component_entry_points.h"
#include "orbe/platform/loader.h"

namespace {

constexpr int kRecords = 4000;
constexpr char kSelect[] =
    "SELECT T001, T002, T003, T004, T005, T006, T007, T008, T009, T010 FROM t100000013 ORDER BY T001";

// code char[6], abbreviation char[20], market and industry int32, price
// double, change float, volume int64, amount double, date-time int64, shares int64.
constexpr std::size_t kRecordSize = 6 + 20 + 4 + 4 + 8 + 4 + 8 + 8 + 8 + 8;

std::string Folder() {
  return (std::filesystem::temp_directory_path() / ("orbe_cache_bench_" + std::to_string(::getpid())))
      .string();
}

void MakeStorage(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_exec(db,
               "CREATE TABLE t100000013(T001 TEXT PRIMARY KEY, T002 TEXT, T003 INTEGER, T004 INTEGER,"
               " T005 REAL, T006 REAL, T007 INTEGER, T008 REAL, T009 INTEGER, T010 INTEGER);"
               "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 3999)"
               " INSERT INTO t100000013 SELECT printf('%06d', i), 'Security ' || i, i % 3, i % 97,"
               " 10.0 + i / 100.0, (i % 21) - 10.0, i * 1000, i * 12345.5, 20240105093000 + i, i * 1000000"
               " FROM n;",
               nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

template <typename T>
void Put(std::string& record, std::size_t& offset, T value) {
  std::memcpy(record.data() + offset, &value, sizeof(value));
  offset += sizeof(value);
}

void PutText(std::string& record, std::size_t& offset, const unsigned char* text, std::size_t width) {
  if (text != nullptr) {
    const std::size_t length = std::min(std::strlen(reinterpret_cast<const char*>(text)), width);
    std::memcpy(record.data() + offset, text, length);
  }
  offset += width;
}

// The SELECT and the records laid out as the reply carries them.
CwPacketList FetchRecords(sqlite3_stmt* select) {
  CwPacketList packets;
  packets.reserve(kRecords);
  while (sqlite3_step(select) == SQLITE_ROW) {
    std::string record(kRecordSize, '\0');
    std::size_t offset = 0;
    PutText(record, offset, sqlite3_column_text(select, 0), 6);
    PutText(record, offset, sqlite3_column_text(select, 1), 20);
    Put(record, offset, static_cast<std::int32_t>(sqlite3_column_int(select, 2)));
    Put(record, offset, static_cast<std::int32_t>(sqlite3_column_int(select, 3)));
    Put(record, offset, sqlite3_column_double(select, 4));
    Put(record, offset, static_cast<float>(sqlite3_column_double(select, 5)));
    Put(record, offset, static_cast<std::int64_t>(sqlite3_column_int64(select, 6)));
    Put(record, offset, sqlite3_column_double(select, 7));
    Put(record, offset, static_cast<std::int64_t>(sqlite3_column_int64(select, 8)));
    Put(record, offset, static_cast<std::int64_t>(sqlite3_column_int64(select, 9)));
    packets.push_back(std::move(record));
  }
  sqlite3_reset(select);
  return packets;
}

struct Fixture {
  Fixture() : folder(Folder()) {
    std::filesystem::create_directories(folder);
    MakeStorage(folder + "/storage.db");
    sqlite3_open((folder + "/storage.db").c_str(), &db);
    sqlite3_prepare_v2(db, kSelect, -1, &select, nullptr);
  }
  ~Fixture() {
    sqlite3_finalize(select);
    sqlite3_close(db);
    std::filesystem::remove_all(folder);
  }
  std::string folder;
  sqlite3* db = nullptr;
  sqlite3_stmt* select = nullptr;
};

void BM_SqliteSelectFetch(benchmark::State& state) {
  const Fixture fixture;
  for (auto _ : state) {
    CwPacketList packets = FetchRecords(fixture.select);
    if (packets.size() != kRecords) state.SkipWithError("wrong record count");
    benchmark::DoNotOptimize(packets);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_SqliteSelectFetch)->Unit(benchmark::kMicrosecond);

void BM_CacheLoad(benchmark::State& state) {
  const Fixture fixture;
  const HMODULE library = LoadLibraryA("FinCacheStore.dll");
  const auto create = GetProcAddressAs<CreateTCwCacheInstanceProc>(library, "CreateTCwCacheInstance");
  const auto destroy = GetProcAddressAs<DeleteTCwCacheInstanceProc>(library, "DeleteTCwCacheInstance");
  ITCwcache* cache = create != nullptr ? create((fixture.folder + "/cachem/").c_str(), 0, 0) : nullptr;
  if (cache == nullptr || destroy == nullptr) {
    state.SkipWithError("libFinCacheStore.so is not built");
    return;
  }
  const CwPacketList reply = FetchRecords(fixture.select);
  const char* key = "0123456789ABCDEF0123456789ABCDEF";
  cache->Store(key, reply, 20240105093000);
  for (auto _ : state) {
    CwPacketList packets;
    if (!cache->Load(key, packets) || packets.size() != kRecords) state.SkipWithError("cache miss");
    benchmark::DoNotOptimize(packets);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
  destroy(cache);
  FreeLibrary(library);
}
BENCHMARK(BM_CacheLoad)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
