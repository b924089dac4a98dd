// CwFileUtil's statement members over a session's dictionary.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dictionary/dictionary_writer.h"
#include "dictionary/sql_test_dictionary.h"
#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/dictionary/sql_records.h"

namespace {

using orbe::sql_test::ReadAt;

class CwFileUtilSqlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const orbe::DictionaryFiles files = orbe::BuildDictionaryFiles(orbe::sql_test::TestSchema());
    orbe::LoadDictionaryBytes(session_.Dictionary(), files.constants, files.tables, files.fields);
  }

  OrbeClientSession session_;
  char area_[64] = {};
};

TEST_F(CwFileUtilSqlTest, StatementsThroughTheSession) {
  cw_command_req select{};
  ASSERT_TRUE(CwFileUtil::ParseReqCommand(&session_, "SELECT T004 FROM 100000013 WHERE T004>1", &select));
  EXPECT_EQ(ReadAt<std::uint8_t>(select, 69), 4);
  EXPECT_EQ(ReadAt<std::uint8_t>(select, 575), 1);

  cw_sqlstat_req stat{};
  ASSERT_TRUE(CwFileUtil::ParseStatSql(&session_, "SELECT SUM(T004) FROM 5", &stat));
  EXPECT_EQ(ReadAt<std::uint8_t>(stat, 6), orbe::kStatSum);
  cw_sqlstat_req type_only{};
  ASSERT_TRUE(CwFileUtil::GetStatType("COUNT(DISTINCT T002)", &type_only));
  EXPECT_EQ(ReadAt<std::uint8_t>(type_only, 7), 2);

  cw_sqldelete_req remove{};
  EXPECT_TRUE(CwFileUtil::ParseDeleteSql(&session_, "DELETE FROM 6", &remove));

  cw_sqlupdate_req update{};
  ASSERT_TRUE(CwFileUtil::ParseUpdateSql(&session_, "UPDATE 6 SET T002=3", &update, area_, sizeof area_));
  EXPECT_EQ(ReadAt<std::uint8_t>(update, 38), 2);
  update.table = 6;
  ASSERT_TRUE(CwFileUtil::GetUpdateField(&session_, "SET T001=4", &update, area_, sizeof area_));
  EXPECT_EQ(ReadAt<std::uint8_t>(update, 38), 1);

  cw_sqlinsert_req insert{};
  ASSERT_TRUE(
      CwFileUtil::ParseInsertSql(&session_, "INSERT INTO 6 VALUES (8)", &insert, area_, sizeof area_));
  insert.table = 7;
  EXPECT_FALSE(CwFileUtil::GetInsertField(&session_, "VALUES (1)", &insert, area_, sizeof area_));
  EXPECT_TRUE(CwFileUtil::GetInsertField(&session_, "(T003) VALUES (1)", &insert, area_, sizeof area_));
}

TEST_F(CwFileUtilSqlTest, MissingArgumentsWriteNothing) {
  cw_command_req select;
  std::memset(&select, 0x5A, sizeof select);
  const cw_command_req before = select;
  EXPECT_FALSE(CwFileUtil::ParseReqCommand(nullptr, "SELECT T001 FROM 5", &select));
  EXPECT_FALSE(CwFileUtil::ParseReqCommand(&session_, nullptr, &select));
  EXPECT_EQ(std::memcmp(&select, &before, sizeof select), 0);
  EXPECT_FALSE(CwFileUtil::ParseReqCommand(&session_, "SELECT T001 FROM 5", nullptr));

  cw_sqlupdate_req update;
  std::memset(&update, 0x5A, sizeof update);
  EXPECT_FALSE(CwFileUtil::ParseUpdateSql(&session_, "UPDATE 6 SET T002=3", &update, nullptr, 64));
  EXPECT_FALSE(CwFileUtil::ParseUpdateSql(&session_, "UPDATE 6 SET T002=3", &update, area_, -1));
  EXPECT_EQ(ReadAt<std::uint8_t>(update, 0), 0x5A);
  cw_sqlinsert_req insert{};
  EXPECT_FALSE(CwFileUtil::ParseInsertSql(&session_, "INSERT INTO 6 VALUES (8)", &insert, nullptr, 64));
  EXPECT_FALSE(CwFileUtil::ParseStatSql(&session_, nullptr, nullptr));
  EXPECT_FALSE(CwFileUtil::ParseDeleteSql(nullptr, "DELETE FROM 6", nullptr));
}

TEST_F(CwFileUtilSqlTest, OneConditionAndCompareType) {
  tagSigCond conditions[5] = {};
  // The text is taken to its given length.
  const char text[] = "T004>=12345";
  ASSERT_TRUE(CwFileUtil::GetOneCondition(&session_, conditions, 2, 100000013, text, 8));
  EXPECT_EQ(ReadAt<std::uint8_t>(conditions[2], 1), orbe::kCompareGreaterEqual);
  EXPECT_EQ(ReadAt<std::int32_t>(conditions[2], 11), 12);
  EXPECT_FALSE(CwFileUtil::GetOneCondition(&session_, conditions, 5, 100000013, text, 8));
  EXPECT_FALSE(CwFileUtil::GetOneCondition(&session_, conditions, 0, 100000013, text, -1));

  int code = -1;
  const char* after = CwFileUtil::GetCompareType("T001!=7", code);
  ASSERT_NE(after, nullptr);
  EXPECT_STREQ(after, "7");
  EXPECT_EQ(code, orbe::kCompareNotEqual);
  EXPECT_EQ(CwFileUtil::GetCompareType("T001 7", code), nullptr);
}

}  // namespace
