// OrbeClientSession against the test engine and cache, loaded by name.
#include "orbe/dataservice/orbe_client_session.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "dictionary/dictionary_writer.h"
#include "env/module_state.h"
#include "env/test_components.h"
#include "orbe/dictionary/cw_file_util.h"

namespace {

const bool kWithTestComponents = orbe_test::RunWithTestComponents("full");

class OrbeClientSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kWithTestComponents);
    engine_control_ = orbe_test::EngineControl();
    cache_control_ = orbe_test::CacheControl();
    ASSERT_NE(engine_control_, nullptr);
    ASSERT_NE(cache_control_, nullptr);
    engine_control_->Reset();
    cache_control_->Reset();
    folder_ = orbe_test::MakeTempFolder();
    engine_ = orbe::Siblings().Engine().GetCwDataEnginInstance();
    ASSERT_NE(engine_, nullptr);
  }
  void TearDown() override {
    orbe::Siblings().Engine().DelCwDataEnginInstance();
    std::filesystem::remove_all(folder_);
  }
  int CacheAlive() {
    std::lock_guard<std::mutex> hold(cache_control_->mutex);
    return cache_control_->alive;
  }
  void WriteDictionary() {
    orbe::DictionarySchema schema;
    orbe::SchemaTable table;
    table.number = 1;
    table.name = "TEST";
    table.fields.push_back(orbe::SchemaField{1, 1, 8, "", "CODE"});
    schema.tables.push_back(table);
    ASSERT_TRUE(orbe::WriteDictionaryFiles(orbe::BuildDictionaryFiles(schema), folder_, false));
  }

  TestEngineControl* engine_control_ = nullptr;
  TestCacheControl* cache_control_ = nullptr;
  ICwDataEngin* engine_ = nullptr;
  std::string folder_;
};

TEST_F(OrbeClientSessionTest, OwnsItsCacheButNotItsRequestSession) {
  {
    OrbeClientSession session(engine_, folder_, folder_ + "comm.ini");
    EXPECT_NE(session.GetCwcache(), nullptr);
    EXPECT_EQ(CacheAlive(), 1);
    EXPECT_EQ(session.GetSession(), nullptr);
    EXPECT_EQ(session.CreateSession(false, true), nullptr);  // read with GetSession
    EXPECT_NE(session.GetSession(), nullptr);
    session.CreateSession(true, false);
    CWHOSTINFO host{};
    session.CreateSession(host, false, false);
    session.CreateSession(host, true, false);
    session.ResetReplyHandleQueue(false);
    session.ResetReplyHandleQueue(true);
    session.Quit();
    // The engine frees a quit session: it is forgotten, so nothing reaches it again.
    EXPECT_EQ(session.GetSession(), nullptr);
    session.ResetReplyHandleQueue(true);
    session.Quit();
  }
  EXPECT_EQ(CacheAlive(), 0);
  std::lock_guard<std::mutex> hold(engine_control_->mutex);
  EXPECT_EQ(engine_control_->configured_sessions, 1);
  EXPECT_EQ(engine_control_->alt_configured_sessions, 1);
  EXPECT_EQ(engine_control_->host_sessions.size(), 1u);
  EXPECT_EQ(engine_control_->alt_host_sessions, 1);
  EXPECT_EQ(engine_control_->quits, 1);
  EXPECT_EQ(engine_control_->queue_resets, 2);
  EXPECT_EQ(engine_control_->second_queue_resets, 1);
}

TEST_F(OrbeClientSessionTest, InitSessionFlags) {
  OrbeClientSession session(engine_, folder_, "");
  // General database 2 loads nothing and marks nothing.
  EXPECT_TRUE(session.InitSession(2, nullptr));
  EXPECT_FALSE(session.IsInitialised());
  // No request session yet.
  EXPECT_FALSE(session.InitSession(0, nullptr));
  EXPECT_FALSE(session.IsInitialised());
  session.CreateSession(false, false);
  // The folder has no dictionary: the load fails once and is not retried.
  EXPECT_FALSE(session.InitSession(0, nullptr));
  EXPECT_TRUE(session.IsInitialised());
  WriteDictionary();
  EXPECT_TRUE(session.InitSession(0, nullptr));
  std::vector<tagMemTableInfo> tables(orbe::kMaxTables);
  EXPECT_EQ(CwFileUtil::GetAllTable(&session, tables.data()), 0);
}

TEST_F(OrbeClientSessionTest, InitSessionLoadsTheDictionaryAndUninitReleasesIt) {
  WriteDictionary();
  OrbeClientSession session(engine_, folder_, "");
  session.CreateSession(false, false);
  // The test engine answers no procedure calls, so the reference tables fail
  // to load after the dictionary did.
  EXPECT_FALSE(session.InitSession(3, nullptr));
  std::vector<tagMemTableInfo> tables(orbe::kMaxTables);
  EXPECT_EQ(CwFileUtil::GetAllTable(&session, tables.data()), 1);
  session.UninitSession();
  EXPECT_EQ(session.GetSession(), nullptr);
  EXPECT_EQ(CwFileUtil::GetAllTable(&session, tables.data()), 0);
  session.Quit();  // nothing to quit any more
  std::lock_guard<std::mutex> hold(engine_control_->mutex);
  EXPECT_EQ(engine_control_->quits, 0);
}

TEST_F(OrbeClientSessionTest, InfoBlockIsReadOnce) {
  OrbeClientSession session;
  session.SetInfoBlock(1, 2, 3);
  unsigned char a = 9, b = 9, c = 9;
  session.GetInfoBlock(a, b, c);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, 3);
  session.GetInfoBlock(a, b, c);
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(c, 0);
}

}  // namespace
