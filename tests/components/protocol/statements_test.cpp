// Statement bodies, option blocks and long texts: each encoder read back by
// its decoder, and the decoders' bounds.
#include "protocol/statements.h"

#include <gtest/gtest.h>

#include "protocol/byte_order.h"
#include "protocol/wire_format.h"

namespace orbe::wire {
namespace {

TEST(StatementsTest, EachBodyCarriesItsCodeAndWhatItAnnounces) {
  cw_command_req select{};
  select.table = 100;
  const std::string select_body = EncodeSelectBody(select, "xyz");
  cw_sqlstat_req stat{};
  const std::string stat_body = EncodeStatBody(stat, "ab");
  const std::string delete_body = EncodeDeleteBody(cw_sqldelete_req{});
  const std::string update_body = EncodeUpdateBody(cw_sqlupdate_req{}, "1234");
  const std::string insert_body = EncodeInsertBody(cw_sqlinsert_req{}, "12345");
  struct Case {
    const std::string& body;
    std::uint16_t code;
    std::size_t record_size;
    std::optional<std::string_view> extra;
  };
  const Case cases[] = {
      {select_body, kCodeSelect, sizeof(cw_command_req), DecodeSelectBody(select_body)->extra},
      {stat_body, kCodeStatistics, sizeof(cw_sqlstat_req), DecodeStatBody(stat_body)->extra},
      {delete_body, kCodeDelete, sizeof(cw_sqldelete_req), DecodeDeleteBody(delete_body)->extra},
      {update_body, kCodeUpdate, sizeof(cw_sqlupdate_req), DecodeUpdateBody(update_body)->extra},
      {insert_body, kCodeInsert, sizeof(cw_sqlinsert_req), DecodeInsertBody(insert_body)->extra},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LoadAt<std::uint16_t>(c.body, 0), c.code);
    ASSERT_TRUE(c.extra) << c.code;
    EXPECT_EQ(*c.extra, std::string_view(c.body).substr(c.record_size)) << c.code;
  }
  EXPECT_EQ(DecodeSelectBody(select_body)->record.table, 100);
}

TEST(StatementsTest, DecodersRefuseShortBodiesAndFlagWhatDoesNotFit) {
  std::string select = EncodeSelectBody(cw_command_req{}, "options");
  EXPECT_FALSE(DecodeSelectBody(std::string_view(select).substr(0, sizeof(cw_command_req) - 1)));
  // The record is still read when the bytes it announces are missing.
  const auto cut = DecodeSelectBody(std::string_view(select).substr(0, select.size() - 1));
  ASSERT_TRUE(cut);
  EXPECT_FALSE(cut->extra);
  // A surplus is ignored; a negative statistics length never fits.
  select += "surplus";
  EXPECT_EQ(*DecodeSelectBody(select)->extra, "options");
  cw_sqlstat_req stat{};
  std::string stat_body = EncodeStatBody(stat, "");
  StoreAt<std::int16_t>(&stat_body, offsetof(cw_sqlstat_req, extra_length), -1);
  EXPECT_FALSE(DecodeStatBody(stat_body)->extra);
  EXPECT_FALSE(DecodeDeleteBody(std::string(sizeof(cw_sqldelete_req) - 1, '\0')));
}

TEST(StatementsTest, OptionBlocksRoundTripAndStayInsideTheirLimit) {
  const std::vector<SqlOption> options = {{1, "600000,600001"}, {0, "no type"}, {2, ""}, {3, "x"}};
  const std::string block = EncodeOptionBlock(options, 100);
  EXPECT_EQ(block, std::string("\x01\x0d\x00" "600000,600001\0" "\x03\x01\x00x\0", 22));
  const std::string padded = block + std::string(5, '\0');  // the sender's zero fill
  const auto decoded = DecodeOptionBlock(padded);
  ASSERT_TRUE(decoded);
  ASSERT_EQ(decoded->size(), 2u);
  EXPECT_EQ((*decoded)[0].type, 1);
  EXPECT_EQ((*decoded)[0].text, "600000,600001");
  EXPECT_EQ((*decoded)[1].text, "x");
  // An option of 3 + 1 + NUL bytes needs a limit of 6, leaving a zero byte.
  EXPECT_EQ(EncodeOptionBlock({{1, "a"}}, 5), "");
  EXPECT_EQ(EncodeOptionBlock({{1, "a"}}, 6).size(), 5u);
  for (std::size_t cut = 1; cut < block.size(); ++cut) {
    const auto partial = DecodeOptionBlock(std::string_view(block).substr(0, cut));
    EXPECT_TRUE(!partial || partial->size() < 2) << cut;
  }
  EXPECT_FALSE(DecodeOptionBlock(std::string_view("\x01\xff\x00" "a\0", 5)));
}

TEST(StatementsTest, LongTextsAreBoundedByTheirBytes) {
  std::string record(8, '\0');
  AppendLongText(&record, 0, "first");
  AppendLongText(&record, 4, "");
  EXPECT_EQ(LongTextAt(record, 0), "first");
  EXPECT_EQ(LongTextAt(record, 4), "");
  EXPECT_EQ(LoadAt<std::uint32_t>(record, 0), 8u);
  EXPECT_FALSE(LongTextAt(record, record.size() - 3));  // the slot itself runs out
  EXPECT_FALSE(LongTextAt(std::string_view(record).substr(0, 16), 0));  // the text runs out
  std::string wild = record;
  StoreAt<std::uint32_t>(&wild, 0, 0xFFFFFFF0u);
  EXPECT_FALSE(LongTextAt(wild, 0));
}

}  // namespace
}  // namespace orbe::wire
