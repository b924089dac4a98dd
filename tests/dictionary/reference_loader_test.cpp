// The reference loaders' stepping: time stamps, page keys, paging, the cache
// rule and failures, over a scripted data-request handle.
#include "dictionary/reference_loader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <optional>
#include <utility>

#include "dictionary/reference_loader_dialogs.h"

namespace {

// Every request fails unless a test scripts it.
class NullFetchData : public IFetchData {
 public:
  void SetProgressNotify(HWND, UINT) override {}
  WORD GetSqlOptionBuffer(char*, int) override { return 0; }
  BOOL FetchData(const char*, const char*, int, BOOL) override { return FALSE; }
  BOOL SynFetchData(const char*, const char*, int, BOOL) override { return FALSE; }
  BOOL GetFieldInfo(const char*, tagMemFieldInfo*) override { return FALSE; }
  BOOL GetRecordAsInt(int, const tagMemFieldInfo*, int*) override { return FALSE; }
  BOOL GetRecordAsDouble(int, const tagMemFieldInfo*, double*) override { return FALSE; }
  BOOL GetRecordAsInt64(int, const tagMemFieldInfo*, std::int64_t*) override { return FALSE; }
  BOOL GetRecordAsString(int, const tagMemFieldInfo*, char*, int) override { return FALSE; }
  BOOL GetRecordAsRawString(int, const tagMemFieldInfo*, char*, int) override { return FALSE; }
  int GetRecordCount() override { return 0; }
  BOOL DeleteBySql(const char*) override { return FALSE; }
  BOOL SynDeleteBySql(const char*) override { return FALSE; }
  int GetDeleteResult(int*) override { return 1; }
  BOOL UpdateBySql(const char*) override { return FALSE; }
  BOOL SynUpdateBySql(const char*) override { return FALSE; }
  int GetUpdateResult(int*) override { return 1; }
  BOOL InsertBySql(const char*) override { return FALSE; }
  BOOL SynInsertBySql(const char*) override { return FALSE; }
  int GetInsertResult(int*) override { return 1; }
  BOOL FetchStatData(const char*, const char*, int) override { return FALSE; }
  BOOL SynFetchStatData(const char*, const char*, int) override { return FALSE; }
  BOOL GetStatResultAsInt(int*) override { return FALSE; }
  BOOL GetStatResultAsDouble(double*) override { return FALSE; }
  BOOL GetStatResultAsString(char*, int) override { return FALSE; }
  int GetStatResultAsRaw(void*, int) override { return -1; }
  BOOL IncTimestamp(int) override { return FALSE; }
  BOOL SynIncTimestamp(int) override { return FALSE; }
  std::int64_t GetIncTimestampResult() override { return -1; }
  BOOL FlushTable(int) override { return FALSE; }
  int GetFlushTableResult() override { return 1; }
  BOOL CallTQL(const char*, const char*) override { return FALSE; }
  BOOL ReloadTQL(const char*) override { return FALSE; }
  BOOL SynCallTQL(const char*, const char*) override { return FALSE; }
  BOOL SynReloadTQL(const char*) override { return FALSE; }
  BOOL LoadCache(const char*) override { return FALSE; }
  BOOL SaveCache(const char*, std::int64_t) override { return FALSE; }
  std::int64_t GetCacheTimeStamp(const char*) override { return -1; }
  int GetCallResult() override { return 1; }
  BOOL SetReplyReadPos(int) override { return FALSE; }
  int GetReplyReadPos() override { return 0; }
  int GetReplyLength() override { return -1; }
  BOOL PopReplyAsString(int, char*, int) override { return FALSE; }
  BOOL PopReplyAsChar(signed char*) override { return FALSE; }
  BOOL PopReplyAsShort(short*) override { return FALSE; }
  BOOL PopReplyAsInt(int*) override { return FALSE; }
  BOOL PopReplyAsInt64(std::int64_t*) override { return FALSE; }
  BOOL PopReplyAsFloat(float*) override { return FALSE; }
  BOOL PopReplyAsDouble(double*) override { return FALSE; }
  std::int64_t SynGetTimestamp(int) override { return -1; }
  BOOL CallRPC(const char*, const void*, int) override { return FALSE; }
  BOOL SynCallRPC(const char*, const void*, int) override { return FALSE; }
  void AddSqlOption(BYTE, const char*) override {}
  void ClearSqlOption() override {}
};

// The server's pages by parameter and a cache that outlives the handles, as a
// session's does.
struct Service {
  std::string procedure = "proc";
  std::map<std::string, std::string> replies;
  std::map<std::string, std::pair<std::int64_t, std::string>> cache;
  std::vector<std::string> calls;
  std::vector<std::string> loads;
  std::function<void(const std::string&)> on_call;
};

class ScriptedFetch : public NullFetchData {
 public:
  explicit ScriptedFetch(Service& service) : service_(service) {}

  BOOL SynCallTQL(const char* name, const char* parameters) override {
    service_.calls.push_back(parameters);
    if (service_.on_call) service_.on_call(parameters);
    const auto found = service_.replies.find(parameters);
    Take(name == service_.procedure && found != service_.replies.end() ? found->second : std::string("\x02", 1));
    return TRUE;
  }
  BOOL LoadCache(const char* key) override {
    const auto found = service_.cache.find(key);
    if (found == service_.cache.end()) return FALSE;
    service_.loads.push_back(key);
    Take(found->second.second);
    return TRUE;
  }
  BOOL SaveCache(const char* key, std::int64_t stamp) override {
    service_.cache[key] = {stamp, reply_};
    return TRUE;
  }
  std::int64_t GetCacheTimeStamp(const char* key) override {
    const auto found = service_.cache.find(key);
    return found == service_.cache.end() ? -1 : found->second.first;
  }
  int GetCallResult() override { return reply_.empty() ? 1 : static_cast<signed char>(reply_[0]); }
  BOOL PopReplyAsShort(short* value) override { return Pop(value); }
  BOOL PopReplyAsInt64(std::int64_t* value) override { return Pop(value); }
  BOOL PopReplyAsString(int length, char* text, int size) override {
    if (length < 0 || position_ + length > reply_.size() || length >= size) return FALSE;
    std::memcpy(text, reply_.data() + position_, length);
    text[length] = '\0';
    position_ += length;
    return TRUE;
  }

 private:
  void Take(std::string reply) {
    reply_ = std::move(reply);
    position_ = 1;
  }
  template <typename T>
  BOOL Pop(T* value) {
    if (position_ + sizeof(T) > reply_.size()) return FALSE;
    std::memcpy(value, reply_.data() + position_, sizeof(T));
    position_ += sizeof(T);
    return TRUE;
  }

  Service& service_;
  std::string reply_;
  std::size_t position_ = 1;
};

std::string StampReply(std::int64_t stamp) {
  std::string reply(1, '\0');
  reply.append(reinterpret_cast<const char*>(&stamp), sizeof stamp);
  return reply;
}

// Status 0, a 16-bit count, then each field NUL-padded to its width.
std::string PageReply(std::int16_t count, const std::vector<std::vector<std::string>>& records,
                      const std::vector<int>& widths) {
  std::string reply(1, '\0');
  reply.append(reinterpret_cast<const char*>(&count), sizeof count);
  for (const auto& record : records) {
    for (std::size_t i = 0; i < widths.size(); ++i) {
      std::string field = record[i];
      field.resize(widths[i], '\0');
      reply += field;
    }
  }
  return reply;
}

struct Stored {
  int set;
  std::vector<std::string> fields;
  bool operator==(const Stored&) const = default;
};

struct Recorded {
  std::vector<Stored> stored;
  int clears = 0;
  int finishes = 0;
};

class RecordingTarget : public orbe::ReferenceTarget {
 public:
  explicit RecordingTarget(Recorded& recorded) : recorded_(recorded) {}
  void Clear() override { ++recorded_.clears; }
  void Store(int set, std::span<const std::string> fields) override {
    recorded_.stored.push_back({set, std::vector<std::string>(fields.begin(), fields.end())});
  }
  void Finish() override { ++recorded_.finishes; }

 private:
  Recorded& recorded_;
};

constexpr std::array<std::uint8_t, 2> kPairWidths = {3, 5};
constexpr std::array<std::uint8_t, 1> kOneWidth = {2};
constexpr std::array<orbe::ReferenceSetLayout, 2> kPagedThenSingle = {{{kPairWidths, true}, {kOneWidth, false}}};
const orbe::ReferenceProcedureLayout kLayout{"proc", orbe::kReferenceTimerId, kPagedThenSingle};
constexpr std::array<orbe::ReferenceSetLayout, 2> kTwoPaged = {{{kOneWidth, true}, {kOneWidth, true}}};
const orbe::ReferenceProcedureLayout kTwoPagedLayout{"proc", orbe::kMainTableTimerId, kTwoPaged};

class ReferenceLoaderTest : public ::testing::Test {
 protected:
  bool Load(const orbe::ReferenceProcedureLayout& layout = kLayout) {
    recorded_ = Recorded{};
    service_.calls.clear();
    service_.loads.clear();
    orbe::ReferenceLoader loader(layout, std::make_unique<RecordingTarget>(recorded_), Handles(), nullptr);
    loader_ = &loader;
    const bool loaded = loader.Run();
    progress_ = loader.Progress();
    loader_ = nullptr;
    return loaded;
  }
  orbe::FetchHandleFactory Handles() {
    return [this](HWND window, UINT message) -> std::unique_ptr<IFetchData> {
      EXPECT_NE(window, nullptr);
      EXPECT_EQ(message, orbe::kReferenceReplyMessage);
      return std::make_unique<ScriptedFetch>(service_);
    };
  }
  void ScriptTwoSets(std::int64_t stamp0, std::int64_t stamp1) {
    service_.replies["TS0"] = StampReply(stamp0);
    service_.replies["TS1"] = StampReply(stamp1);
    service_.replies["00"] = PageReply(2, {{"a", "alpha"}, {"b", "beta"}}, {3, 5});
    service_.replies["01"] = PageReply(1, {{"c", "gamma"}}, {3, 5});
    service_.replies["02"] = PageReply(0, {}, {3, 5});
    service_.replies["10"] = PageReply(1, {{"zz"}}, {2});
  }
  std::vector<Stored> Expected() const {
    return {{0, {"a", "alpha"}}, {0, {"b", "beta"}}, {0, {"c", "gamma"}}, {1, {"zz"}}};
  }

  Service service_;
  Recorded recorded_;
  orbe::ReferenceLoader* loader_ = nullptr;
  int progress_ = -1;
};

TEST(ReferencePageKeyTest, SetAndPageWithoutSeparator) {
  EXPECT_EQ(orbe::ReferencePageKey(0, 0), "00");
  EXPECT_EQ(orbe::ReferencePageKey(1, 10), "110");
  EXPECT_EQ(orbe::ReferenceCacheKey("sys_get_jj_info", "110"), "sys_get_jj_info|110");
  EXPECT_NE(orbe::ReferenceCacheKey("a", "00"), orbe::ReferenceCacheKey("b", "00"));
}

TEST_F(ReferenceLoaderTest, PagesTheSetsThenCachesThePagesWithAStamp) {
  ScriptTwoSets(7, 0);
  ASSERT_TRUE(Load());
  EXPECT_EQ(recorded_.clears, 1);
  EXPECT_EQ(recorded_.finishes, 1);
  EXPECT_EQ(progress_, 100);
  EXPECT_EQ(recorded_.stored, Expected());
  EXPECT_EQ(service_.calls, (std::vector<std::string>{"TS0", "TS1", "00", "01", "02", "10"}));
  // Set 1 has stamp 0: never saved.
  ASSERT_EQ(service_.cache.size(), 3u);
  EXPECT_EQ(service_.cache["proc|01"].first, 7);
  EXPECT_EQ(service_.cache.count("proc|10"), 0u);

  // Unchanged stamps: set 0 comes from the cache, set 1 (stamp 0) still from the service.
  ASSERT_TRUE(Load());
  EXPECT_EQ(recorded_.stored, Expected());
  EXPECT_EQ(service_.calls, (std::vector<std::string>{"TS0", "TS1", "10"}));
  EXPECT_EQ(service_.loads, (std::vector<std::string>{"proc|00", "proc|01", "proc|02"}));

  // A new stamp reads the set again and replaces the entries.
  service_.replies["TS0"] = StampReply(8);
  service_.replies["00"] = PageReply(1, {{"n", "new"}}, {3, 5});
  service_.replies["01"] = PageReply(0, {}, {3, 5});
  ASSERT_TRUE(Load());
  EXPECT_EQ(service_.calls, (std::vector<std::string>{"TS0", "TS1", "00", "01", "10"}));
  EXPECT_EQ(recorded_.stored, (std::vector<Stored>{{0, {"n", "new"}}, {1, {"zz"}}}));
  EXPECT_EQ(service_.cache["proc|00"].first, 8);
}

TEST_F(ReferenceLoaderTest, AStampThatFailsDisablesOnlyThatSetsCache) {
  ScriptTwoSets(0, 5);
  service_.replies["TS0"] = std::string("\x01", 1);  // error: stamp stays 0
  ASSERT_TRUE(Load());
  ASSERT_TRUE(Load());
  EXPECT_EQ(recorded_.stored, Expected());
  EXPECT_EQ(service_.calls, (std::vector<std::string>{"TS0", "TS1", "00", "01", "02"}));
  EXPECT_EQ(service_.cache.count("proc|00"), 0u);
  EXPECT_EQ(service_.cache["proc|10"].first, 5);
}

TEST_F(ReferenceLoaderTest, PageTenOfSetOneUsesKey110AndAnEmptyFirstPageMovesOn) {
  service_.replies["TS0"] = StampReply(1);
  service_.replies["TS1"] = StampReply(1);
  service_.replies["00"] = PageReply(0, {}, {2});
  for (int page = 0; page <= 10; ++page) {
    service_.replies[orbe::ReferencePageKey(1, page)] = PageReply(1, {{std::to_string(page)}}, {2});
  }
  service_.replies["111"] = PageReply(0, {}, {2});
  ASSERT_TRUE(Load(kTwoPagedLayout));
  ASSERT_EQ(service_.calls.size(), 2u + 1u + 12u);
  EXPECT_EQ(service_.calls[2], "00");
  EXPECT_EQ(service_.calls[3], "10");
  EXPECT_EQ(service_.calls[13], "110");
  ASSERT_EQ(recorded_.stored.size(), 11u);
  EXPECT_EQ(recorded_.stored.back(), (Stored{1, {"10"}}));
}

TEST_F(ReferenceLoaderTest, NegativeCountsEndTheirSet) {
  ScriptTwoSets(0, 0);
  service_.replies["01"] = PageReply(-1, {}, {3, 5});
  service_.replies["10"] = PageReply(-3, {}, {2});
  ASSERT_TRUE(Load());
  EXPECT_EQ(service_.calls, (std::vector<std::string>{"TS0", "TS1", "00", "01", "10"}));
  EXPECT_EQ(recorded_.stored.size(), 2u);
  EXPECT_EQ(recorded_.finishes, 1);
}

TEST_F(ReferenceLoaderTest, FailuresEndTheLoaderAndKeepWhatWasStored) {
  ScriptTwoSets(0, 0);
  service_.replies["01"] = std::string("\x02", 1);
  EXPECT_FALSE(Load());
  EXPECT_EQ(recorded_.stored.size(), 2u);
  EXPECT_EQ(recorded_.finishes, 0);
  EXPECT_EQ(service_.calls.back(), "01");

  // A count beyond the reply's bytes fails without reading past it or storing half a page.
  ScriptTwoSets(0, 0);
  std::string short_page = PageReply(3, {{"a", "alpha"}, {"b", "beta"}}, {3, 5});
  service_.replies["00"] = short_page;
  EXPECT_FALSE(Load());
  EXPECT_TRUE(recorded_.stored.empty());

  // A reply without even its count.
  service_.replies["00"] = std::string(1, '\0');
  EXPECT_FALSE(Load());
}

TEST_F(ReferenceLoaderTest, AnUnreadableCacheEntryIsReadAgainFromTheService) {
  ScriptTwoSets(7, 0);
  ASSERT_TRUE(Load());
  service_.cache["proc|01"].second = std::string("\x01", 1);
  ASSERT_TRUE(Load());
  EXPECT_EQ(recorded_.stored, Expected());
  EXPECT_EQ(service_.calls, (std::vector<std::string>{"TS0", "TS1", "01", "10"}));
  EXPECT_EQ(service_.cache["proc|01"].second, service_.replies["01"]);
}

TEST_F(ReferenceLoaderTest, ClosingTheDialogStopsWithFailure) {
  ScriptTwoSets(0, 0);
  service_.on_call = [this](const std::string& parameter) {
    if (parameter == "01") loader_->SendMessage(WM_CLOSE);  // the dialog closed by its user
  };
  EXPECT_FALSE(Load());
  EXPECT_EQ(recorded_.finishes, 0);
  EXPECT_EQ(service_.calls.back(), "01");
}

TEST(ReferenceLoaderDialogTest, WithoutASessionFailsAtOnce) {
  CDlgGetMainTable main(nullptr);
  EXPECT_FALSE(main.Run());
  CDlgGetGGInfoTable gg(nullptr, nullptr);
  EXPECT_FALSE(gg.Run());
  EXPECT_EQ(main.GetSafeHwnd(), nullptr);
}

}  // namespace
