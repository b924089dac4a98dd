// fuzz_seeds OUTDIR SOURCE_DIR: writes the seed corpus of every fuzzer into
// OUTDIR/<fuzzer>/<seed>. Binary seeds are made by the encoders they exercise
// (the wire library, the dictionary writer, the cache's packet blobs), texts
// are written here or taken from the shipped files under SOURCE_DIR/data, so
// every seed has its source in the tree. The fuzz smoke runs this first.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cache/packet_blob.h"
#include "dictionary/dictionary_writer.h"
#include "orbe/dictionary/dictionary_records.h"
#include "orbe/host/host_records.h"
#include "orbe/platform/file.h"
#include "protocol/byte_order.h"
#include "protocol/procedure_results.h"
#include "protocol/replies.h"
#include "protocol/requests.h"
#include "protocol/statements.h"

namespace {

namespace fs = std::filesystem;
namespace wire = orbe::wire;

struct Seed {
  std::string name;
  std::string bytes;
};

template <typename T>
std::string Bytes(T value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof(T));
}

std::string Fixed(std::string_view text, std::size_t width) {
  std::string field(text.substr(0, width));
  field.resize(width, '\0');
  return field;
}

// --- protocol ---

std::string FramePieces(std::uint8_t piece, const std::vector<std::string>& frames) {
  std::string stream(1, static_cast<char>(piece));
  for (const std::string& frame : frames) stream += frame;
  return stream;
}

std::vector<Seed> ProtocolFrameSeeds() {
  std::string replies;
  wire::AppendDataPacket(&replies, {7, wire::kCodeHostLoad}, 100, wire::EncodeHostLoadBody({1, 3000}));
  wire::AppendEndPacket(&replies, {7, wire::kCodeHostLoad}, wire::kStatusComplete);
  wire::AppendCompressibleDataPacket(&replies, {8, wire::kCodeSelect}, 50, std::string(200, 'r'));
  wire::AppendDataPacket(&replies, {9, wire::kCodeTableTimeStamp}, 100, wire::EncodeTimeStampBody({0, 42}));
  std::string huge = wire::EncodeHostLoadRequest(1);
  wire::StoreAt<std::uint32_t>(&huge, offsetof(wire::RequestHeader, total_length), 0xFFFFFFFFu);
  return {
      {"host_load", FramePieces(5, {wire::EncodeHostLoadRequest(1), wire::EncodeKeepAliveRequest(2),
                                    wire::EncodeTableRequest(3, wire::kCodeTableTimeStamp, 100000002)})},
      {"file_fetch",
       FramePieces(64, {wire::EncodeFileFetchRequest(4, std::string(32, 'A'), "constinfo.idx")})},
      {"replies", FramePieces(1, {replies})},
      {"huge_header", FramePieces(1, {huge})},
  };
}

// --- server ---

tagSigCond Condition(std::uint8_t field, std::uint8_t compare, std::uint8_t value_type,
                     std::string_view value) {
  tagSigCond condition{};
  condition.field = field;
  condition.compare = compare;
  condition.value_type = value_type;
  std::memcpy(condition.value, value.data(), std::min(value.size(), sizeof condition.value));
  return condition;
}

cw_command_req Select(std::int32_t table, std::vector<std::uint8_t> fields) {
  cw_command_req record{};
  std::memcpy(record.sender, "fuzz", 4);
  record.table = table;
  for (std::size_t i = 0; i < fields.size(); ++i) record.fields[i] = fields[i];
  record.field_count = static_cast<std::uint8_t>(fields.size());
  return record;
}

cw_sqlstat_req Stat(std::uint8_t function, std::uint8_t field) {
  cw_sqlstat_req record{};
  record.table = 100000001;
  record.stat_type = function;
  record.field = field;
  return record;
}

template <typename Record>
void Key(Record& record) {
  std::memcpy(record.key, "key", 3);
}

std::vector<Seed> ServerStatementSeeds() {
  constexpr std::uint8_t kText = 2;
  cw_command_req where = Select(100000001, {1, 3, 4, 5, 6, 9, 11});
  where.conditions[0] = Condition(5, orbe::kCompareEqual, 1, "1");
  where.conditions[1] = Condition(9, orbe::kCompareGreaterEqual, 9, Bytes<std::int32_t>(19950101));
  where.condition_count = 2;
  cw_command_req in_list = Select(100000001, {3, 4});
  in_list.conditions[0] = Condition(3, orbe::kCompareInList, kText, "'600000','600002'");
  in_list.condition_count = 1;
  cw_command_req like = Select(100000001, {3, 4});
  like.conditions[0] = Condition(4, orbe::kCompareLike, kText, "6000_2");
  like.conditions[1] =
      Condition(11, orbe::kCompareLess, 10, Bytes<std::int32_t>(20240105) + Bytes<std::int32_t>(93000));
  like.condition_count = 2;
  cw_command_req distinct = Select(100000001, {6});
  distinct.distinct_field = 6;
  cw_command_req paged = Select(100000001, {3, 4});
  paged.page = 2;
  paged.page_size = 5;
  paged.order_field = 3;
  paged.order_desc = 1;
  cw_command_req options = Select(100000002, {1, 5, 8});
  options.conditions[0] = Condition(9, orbe::kCompareGreater, 4, Bytes<std::int32_t>(19950101));
  options.condition_count = 1;
  const std::string option_block =
      wire::EncodeOptionBlock({{1, "80000001,80000002"}, {6, "83"}}, wire::kMaxOptionLength + 1);

  cw_sqlstat_req average = Stat(orbe::kStatAvg, 9);
  average.conditions[0] = Condition(11, orbe::kCompareGreater, kText, "20250101");  // a quoted date
  average.condition_count = 1;
  cw_sqlstat_req distinct_count = Stat(orbe::kStatCount, 6);
  distinct_count.distinct = 1;
  cw_sqlstat_req max_where = Stat(orbe::kStatMax, 9);
  max_where.conditions[0] = Condition(5, orbe::kCompareEqual, 1, "1");
  max_where.condition_count = 1;

  cw_sqldelete_req erase{};
  Key(erase);
  erase.table = 100000001;
  erase.conditions[0] = Condition(3, orbe::kCompareEqual, kText, "600000");
  erase.condition_count = 1;

  cw_sqlupdate_req update{};
  Key(update);
  update.table = 100000002;
  update.fields[0] = 4;
  update.fields[1] = 9;
  update.fields[2] = 12;
  update.field_count = 3;
  update.conditions[0] = Condition(1, orbe::kCompareEqual, kText, "80000001");
  update.condition_count = 1;
  std::string update_area = Fixed("Renamed", 40) + Bytes<std::int32_t>(120) + std::string(4, '\0');
  wire::AppendLongText(&update_area, 44, "memo text");

  cw_sqlinsert_req back{};
  Key(back);
  back.table = 100000002;
  back.fields[0] = 1;
  back.fields[1] = 12;
  back.fields[2] = 14;
  back.field_count = 3;
  back.back = 1;
  std::string back_area = Fixed("80000009", 12) + std::string(4, '\0');
  back_area += Bytes<std::int32_t>(20240105) + Bytes<std::int32_t>(93000);
  wire::AppendLongText(&back_area, 12, "abc");
  cw_sqlinsert_req quote{};
  Key(quote);
  quote.table = 100000020;
  for (std::uint8_t id = 1; id <= 6; ++id) quote.fields[id - 1] = id;
  quote.field_count = 6;
  const std::string quote_area = Fixed("1000001", 12) + Bytes<std::int32_t>(20250101) +
                                 Bytes<std::int16_t>(5) + Bytes<std::int64_t>(123456789) +
                                 Bytes<float>(1.1f) + Bytes<std::uint8_t>(1);
  return {
      {"select_where", wire::EncodeSelectBody(where, {})},
      {"select_in_list", wire::EncodeSelectBody(in_list, {})},
      {"select_like", wire::EncodeSelectBody(like, {})},
      {"select_distinct", wire::EncodeSelectBody(distinct, {})},
      {"select_page_order", wire::EncodeSelectBody(paged, {})},
      {"select_options", wire::EncodeSelectBody(options, option_block)},
      {"stat_count", wire::EncodeStatBody(Stat(orbe::kStatCount, 0), {})},
      {"stat_avg_quoted", wire::EncodeStatBody(average, wire::EncodeOptionBlock({{11, "C01,C02"}}, 64))},
      {"stat_count_distinct", wire::EncodeStatBody(distinct_count, {})},
      {"stat_max_where", wire::EncodeStatBody(max_where, {})},
      {"delete_where", wire::EncodeDeleteBody(erase)},
      {"update_memo", wire::EncodeUpdateBody(update, update_area)},
      {"insert_back_memo", wire::EncodeInsertBody(back, back_area)},
      {"insert_quote", wire::EncodeInsertBody(quote, quote_area)},
  };
}

std::vector<Seed> ServerCallSeeds() {
  return {
      {"page", wire::EncodeCallBody(wire::kCodeCall, "sys_get_main_table_v2", "00")},
      {"stamp", wire::EncodeCallBody(wire::kCodeCall, "sys_get_gg_info_v2", "TS1")},
      {"browse", wire::EncodeCallBody(wire::kCodeCall, "KVX_DataBrowse",
                                      "\xcb\xf9\xca\xf4\xd0\xd0\xd2\xb5||600000,600001")},
      {"reload", wire::EncodeCallBody(wire::kCodeReload, "sys_get_jj_info", "")},
  };
}

std::vector<Seed> ServerBrowseOptionSeeds() {
  constexpr const char* kIndustry = "\xcb\xf9\xca\xf4\xd0\xd0\xd2\xb5";          // 所属行业
  constexpr const char* kChange = "\xc7\xf8\xbc\xe4\xd5\xc7\xb5\xf8\xb7\xf9";    // 区间涨跌幅
  constexpr const char* kTurnover = "\xc7\xf8\xbc\xe4\xbb\xbb\xca\xd6\xc2\xca";  // 区间换手率
  return {
      {"browse_default_width", std::string(kIndustry) + "||600000"},
      {"browse_string_width",
       std::string(kIndustry) + "|40|600002, 600000,999999,600002,,TOOLONGCODE,600001"},
      {"browse_date_range", std::string(kChange) + "|20251001|20251130||600000,600001"},
      {"browse_all_codes", std::string(kTurnover) + "|20251001|20251130||"},
      {"browse_no_name", "|40|600001"},
      {"page_first", "00"},
      {"page_set_one", "110"},
      {"stamp", "TS0"},
      {"stamp_two_digits", "TS12"},
  };
}

// --- client ---

// The reader's header: field type, u32 offset, u16 width, text buffer size.
std::string FieldHead(std::uint8_t type, std::uint32_t offset, std::uint16_t width, std::uint8_t text_size) {
  return std::string(1, static_cast<char>(type)) + Bytes(offset) + Bytes(width) +
         std::string(1, static_cast<char>(text_size));
}

std::vector<Seed> ReplyRecordSeeds() {
  std::string long_text(4, '\0');
  wire::AppendLongText(&long_text, 0, "long text");
  return {
      {"fixed_text", FieldHead(2, 0, 8, 20) + Fixed("600000", 8) + "tail"},
      {"const_codes", FieldHead(1, 2, 12, 64) + "xx01,02,03" + std::string(2, '\0')},
      {"int16", FieldHead(3, 4, 2, 16) + "pad_" + Bytes<std::int16_t>(-2) + std::string(17, 'z')},
      {"int64_text", FieldHead(5, 0, 8, 30) + Bytes<std::int64_t>(-1234567890123) + std::string(15, 'q')},
      {"double", FieldHead(8, 0, 8, 10) + Bytes(2.5) + "tail"},
      {"datetime", FieldHead(10, 0, 8, 40) + Bytes<std::int32_t>(20240105) + Bytes<std::int32_t>(93000) +
                       std::string(15, '\0')},
      {"byte", FieldHead(6, 10, 1, 12) + std::string(10, 'b') + "\xff" + std::string(12, 'c')},
      {"long_text", FieldHead(11, 0, 4, 50) + long_text},
  };
}

std::vector<Seed> CachePacketSeeds() {
  const std::vector<CwPacketList> lists = {{}, {"one"}, {"two", "packets"}, {std::string("a\0b\0", 4), ""}};
  const char* names[] = {"empty_list", "one_packet", "two_packets", "with_nuls"};
  std::vector<Seed> seeds;
  for (std::size_t i = 0; i < lists.size(); ++i)
    seeds.push_back({names[i], *orbe::cache::EncodePackets(lists[i])});
  seeds.push_back({"trailing_byte", *orbe::cache::EncodePackets({"one"}) + "x"});
  return seeds;
}

// --- dictionary ---

orbe::DictionarySchema SmallSchema() {
  orbe::DictionarySchema schema;
  schema.tables.push_back({100000013,
                           1,
                           "companies",
                           {{1, 4, 4, "", "inner"}, {2, 2, 20, "", "name"}, {5, 1, 8, "974", "industry"}}});
  schema.tables.push_back({100000020, 0, "quotes", {{1, 2, 12, "", "code"}, {2, 8, 8, "", "close"}}});
  schema.constants = {{"974", "01", "farming", "", ""}, {"974", "0101", "crops", "01", ""}};
  return schema;
}

// Two 16-bit sizes, then the constant, table and field bytes.
std::string DictionaryInput(const orbe::DictionaryFiles& files) {
  return Bytes(static_cast<std::uint16_t>(files.constants.size())) +
         Bytes(static_cast<std::uint16_t>(files.tables.size())) + files.constants + files.tables +
         files.fields;
}

std::vector<Seed> DictionaryLoadSeeds() {
  const orbe::DictionaryFiles files = orbe::BuildDictionaryFiles(SmallSchema());
  orbe::DictionarySchema one_table;
  one_table.tables.push_back(SmallSchema().tables[0]);
  orbe::DictionarySchema one_const;
  one_const.constants.push_back(SmallSchema().constants[0]);
  orbe::DictionaryFiles bad_counts = orbe::BuildDictionaryFiles(one_table);
  bad_counts.tables[offsetof(orbe::TableFileRecord, field_count)] = 100;  // a run past the field file
  return {
      {"empty", std::string(4, '\0')},
      {"one_table", DictionaryInput(orbe::BuildDictionaryFiles(one_table))},
      {"one_const", DictionaryInput(orbe::BuildDictionaryFiles(one_const))},
      {"two_tables", DictionaryInput(files)},
      {"bad_counts", DictionaryInput(bad_counts)},
  };
}

// A board-set answer (107, 110, 111) as a host lays it out.
std::string BoardSet(const std::vector<orbe::HostBoard>& boards) {
  std::size_t codes = 0;
  for (const orbe::HostBoard& board : boards) codes += board.codes.size();
  std::string bytes(orbe::kBoardCodesOffset + orbe::kBoardCodeSize * codes, '\0');
  bytes[0] = static_cast<char>(boards.size());
  std::size_t at = orbe::kBoardCodesOffset;
  for (std::size_t i = 0; i < boards.size(); ++i) {
    bytes.replace(orbe::kBoardNamesOffset + orbe::kBoardNameSize * i, boards[i].name.size(), boards[i].name);
    wire::StoreAt(&bytes, orbe::kBoardCountsOffset + 2 * i,
                  static_cast<std::int16_t>(boards[i].codes.size()));
    for (const std::string& code : boards[i].codes) {
      bytes.replace(at, code.size(), code);
      at += orbe::kBoardCodeSize;
    }
  }
  return bytes;
}

std::string CodeList(const std::vector<std::pair<std::uint16_t, std::string>>& entries) {
  std::string bytes;
  for (const auto& [market, code] : entries) {
    orbe::HostCodeListEntry entry{};
    entry.market = market;
    std::memcpy(entry.code, code.data(), code.size());
    bytes += Bytes(entry);
  }
  return bytes;
}

// Two scale bytes (announced and written size, in sixteenths; 0 = exact), then the answer.
std::string HostAnswer(std::uint8_t announced, std::uint8_t written, const std::string& answer) {
  return std::string(1, static_cast<char>(announced)) + std::string(1, static_cast<char>(written)) + answer;
}

std::vector<Seed> HostBoardSeeds() {
  const std::string boards = BoardSet({{"a", {"600000", "000001"}}, {"ETF", {"510050"}}, {"b", {}}});
  const std::string codes = CodeList(
      {{orbe::kHostShanghai, "600000"}, {orbe::kHostShenzhen, "000001"}, {orbe::kHostShenzhen, "399001"}});
  return {
      {"board_set", HostAnswer(0, 0, boards)},
      {"board_set_short_fetch", HostAnswer(0, 15, boards)},
      {"code_list", HostAnswer(0, 0, codes)},
      {"over_announced", HostAnswer(32, 0, codes)},
  };
}

std::vector<Seed> SqlSeeds(const std::vector<std::pair<const char*, const char*>>& statements,
                           bool area_byte) {
  std::vector<Seed> seeds;
  for (const auto& [name, statement] : statements) {
    seeds.push_back({name, (area_byte ? std::string("0") : std::string()) + statement});
  }
  return seeds;
}

// --- platform and reports ---

std::vector<Seed> GbkSeeds() {
  return {{"ascii", "plain ascii text"},
          {"gbk", "\xd6\xd0\xce\xc4\xb1\xa8\xb1\xed"},
          {"truncated", "ab\xd6"},
          {"utf8", "caf\xc3\xa9 \xe4\xb8\xad\xe6\x96\x87"}};
}

std::vector<Seed> IniSeeds() {
  // The first line names a section, key and value the fuzzer sets.
  return {
      {"crlf.ini",
       "Main|Key|new value\n[Main]\r\nKey = old\r\n; comment\r\nother=\"quoted\"\r\n\r\n[Second]\r\nx=1\r\n"},
      {"gbk_bom.ini",
       "\xef\xbb\xbf[\xb1\xa8\xb1\xed]|\xc3\xfb|\xd6\xd0\n[\xb1\xa8\xb1\xed]\r\n\xc3\xfb\xb3\xc6="
       "\xd7\xca\xb2\xfa\r\n"},
      {"lf_duplicates.ini", "a|b|c\n[a]\nb=1\nbare\n[A]\nb=2\n[]\nq=0x10\n"},
      {"odd_lines.ini", "orphan=1\n[x\n[br]ack]\nk=v\n=nameless\r\r\n  [ spaced ]  \nz = \"1\" \x1a"},
  };
}

std::vector<Seed> ReportIniSeeds(const fs::path& source) {
  std::vector<Seed> seeds = {
      {"cells.ini",
       "[MAIN]\r\nCONTROL_NUM=3\r\n[CONTROL1]\r\nTYPE=LABEL\r\nLABEL_TEXT=a\\r\\nb\r\n[CONTROL2]\r\n"
       "TYPE=CHART\r\nREPORT_TYPE=DATE\r\n[CONTROL3]\r\nTYPE=IE\r\nURL=http://h/******\r\n"},
      {"cycle.ini",
       "[MAIN]\r\nCONTROL_NUM=1\r\n[CONTROL1]\r\nTYPE=LIST\r\nLIST_COL_NUM=1\r\nCOL_POP_CTRL1=A\r\n"
       "[A]\r\nTYPE=LISTHISTOGRAM\r\nLIST_COL_NUM=1\r\nCOL_POP_CTRL1=CONTROL1\r\n"},
  };
  // The shipped reports, as their authors write them.
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(source / "data" / "reports", error)) {
    if (const auto bytes = orbe::ReadWholeFile(entry.path().string())) {
      seeds.push_back({entry.path().filename().string(), *bytes});
    }
  }
  return seeds;
}

// Year and month bytes, then statement, parameter, code and term separated by \x01.
std::string MacroInput(std::uint8_t year, std::uint8_t month, const std::vector<std::string>& parts) {
  std::string bytes{static_cast<char>(year), static_cast<char>(month)};
  for (std::size_t i = 0; i < parts.size(); ++i) bytes += (i == 0 ? "" : "\x01") + parts[i];
  return bytes;
}

std::vector<Seed> ReportMacroSeeds() {
  return {
      {"year_term", MacroInput('8', 5,
                               {"select t1 from 100 where t5=$REPORTTIME$ and t2=$SECUCODE$", "", "600000",
                                "2011 \xd6\xd0\xc6\xda"})},
      {"recent_years", MacroInput('8', 8,
                                  {"where x=$LASTQ$ and y=$PREVQ3$ and t3=$#$ and t=$SECUCODE$", "abc",
                                   "600000", "\xd7\xee\xbd\xfc\xc1\xbd\xc4\xea"})},
      {"url", MacroInput(0, 12, {"http://h/q?c=******", "", "000001", "x"})},
  };
}

std::vector<Seed> BondCategorySeeds(const fs::path& source) {
  std::vector<Seed> seeds = {
      {"misspelt.xml", "<BondCategories><Category name=\"a\" type=\"x\"/></BondCategories>"},
      {"nested.xml",
       "<BondCategories><Category name=\"a\"><Category name=\"b\"><Category name=\"c\" "
       "types=\"t\"/></Category></Category></BondCategories>"},
      {"utf8.xml",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<BondCategories><Category name=\"a\" "
       "types=\"x;y\" markets=\"m\"><Category name=\"b\" markets=\"n\"/></Category></BondCategories>\n"},
  };
  if (const auto shipped =
          orbe::ReadWholeFile((source / "data" / "topics" / "bond_categories.xml").string())) {
    seeds.push_back({"shipped.xml", *shipped});
  }
  return seeds;
}

struct Corpus {
  const char* fuzzer;
  std::function<std::vector<Seed>(const fs::path& source)> seeds;
};

std::vector<Corpus> Corpora() {
  const auto plain = [](std::vector<Seed> (*make)()) { return [make](const fs::path&) { return make(); }; };
  return {
      {"protocol_frame_fuzz", plain(ProtocolFrameSeeds)},
      {"server_statement_decode_fuzz", plain(ServerStatementSeeds)},
      {"server_call_request_fuzz", plain(ServerCallSeeds)},
      {"server_browse_option_fuzz", plain(ServerBrowseOptionSeeds)},
      {"dataservice_reply_record_reader_fuzz", plain(ReplyRecordSeeds)},
      {"cache_packet_blob_fuzz", plain(CachePacketSeeds)},
      {"dictionary_load_fuzz", plain(DictionaryLoadSeeds)},
      {"dictionary_host_boards_fuzz", plain(HostBoardSeeds)},
      {"dictionary_sql_select_fuzz",
       [](const fs::path&) {
         return SqlSeeds(
             {{"example",
               "SELECT T001,T002 FROM 100000013 WHERE T003='ABC' AND T004>=100 ORDER BY T004 DESC"},
              {"distinct", "SELECT T001,DISTINCT T004 FROM 100000013 WHERE T003 = 'ABC' AND T002='a>b'"},
              {"paging", "SELECT PAGE 2 PAGEFRAME 50 T001,T002 FROM 100000013"},
              {"star", "select * from 100000013 where t003=('A','B') and T008~=(1"}},
             false);
       }},
      {"dictionary_sql_stat_fuzz",
       [](const fs::path&) {
         return SqlSeeds({{"count", "SELECT COUNT(DISTINCT T007) FROM 100000013 WHERE T005>3"},
                          {"max", "select max( t009) from 100000013 where T010='20240102'"},
                          {"star", "SELECT COUNT(*) FROM 5"}},
                         false);
       }},
      {"dictionary_sql_delete_fuzz",
       [](const fs::path&) {
         return SqlSeeds({{"all", "delete from 6"},
                          {"conditions", "DELETE FROM 100000013 WHERE T004=1 and T005=2 AND T007=3"}},
                         false);
       }},
      {"dictionary_sql_update_fuzz",
       [](const fs::path&) {
         return SqlSeeds(
             {{"long", "UPDATE 100000013 SET T011='hello',T004=7,T001='a,b'"},
              {"numbers", "UPDATE 100000013 SET T005=-2,T006=-3,T007=255,T008=0.5,T009=-1.25,T010=20240102"},
              {"text", "UPDATE 5 SET T002='abc' WHERE T003=1"}},
             true);
       }},
      {"dictionary_sql_insert_fuzz",
       [](const fs::path&) {
         return SqlSeeds({{"columns", "INSERT BACK INTO 100000013 (T011,T004,T001) VALUES ('hi',3,'x,y')"},
                          {"keyed", "insert into 7 (T003, T001) values (9,1)"},
                          {"values", "INSERT INTO 5 VALUES ('a','b')"}},
                         true);
       }},
      {"gbk_fuzz", plain(GbkSeeds)},
      {"ini_fuzz", plain(IniSeeds)},
      {"reports_ini_fuzz", ReportIniSeeds},
      {"reports_macros_fuzz", plain(ReportMacroSeeds)},
      {"topics_bond_categories_fuzz", BondCategorySeeds},
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: fuzz_seeds OUTDIR SOURCE_DIR\n", stderr);
    return 2;
  }
  const fs::path out = argv[1];
  const fs::path source = argv[2];
  int written = 0;
  for (const Corpus& corpus : Corpora()) {
    const fs::path folder = out / corpus.fuzzer;
    std::error_code error;
    fs::create_directories(folder, error);
    for (const Seed& seed : corpus.seeds(source)) {
      if (!orbe::WriteFileAtomically((folder / seed.name).string(), seed.bytes)) {
        std::fprintf(stderr, "fuzz_seeds: cannot write %s\n", (folder / seed.name).c_str());
        return 1;
      }
      ++written;
    }
  }
  std::printf("fuzz_seeds: %d seeds\n", written);
  return 0;
}
