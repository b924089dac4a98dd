// The examples of docs/protocol.md against the codec: every example in the
// document is encoded here with the wire library and compared byte for byte,
// and every encoding here has its example there.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "protocol/byte_order.h"
#include "protocol/file_frames.h"
#include "protocol/procedure_results.h"
#include "protocol/replies.h"
#include "protocol/requests.h"
#include "protocol/statements.h"

namespace orbe::wire {
namespace {

constexpr std::uint32_t kId = 7;
constexpr std::int32_t kStocks = 100000002;
constexpr std::int32_t kQuotes = 100000020;
constexpr std::uint8_t kTextType = 2;  // a field type, and the value type of its conditions
constexpr const char* kOperationKey = "0123456789abcdef0123456789abcdef";
constexpr const char* kHelloDigest = "5D41402ABC4B2A76B9719D911017C592";  // MD5 of "hello"

// One example's bytes from its indented lines: "XX" bytes, "XX*N" runs,
// "\"text\"" ASCII texts; "#" starts a comment. nullopt on a malformed token.
std::optional<std::string> ParseExampleLine(std::string_view line, std::string* bytes) {
  line = line.substr(0, line.find('#'));
  std::istringstream tokens{std::string(line)};
  std::string token;
  while (tokens >> token) {
    if (token.size() >= 2 && token.front() == '"' && token.back() == '"') {
      bytes->append(token.substr(1, token.size() - 2));
      continue;
    }
    const std::size_t star = token.find('*');
    std::size_t count = 1;
    if (star != std::string::npos) {
      count = std::stoul(token.substr(star + 1));
      token.resize(star);
    }
    if (token.size() != 2 || token.find_first_not_of("0123456789ABCDEF") != std::string::npos) return token;
    bytes->append(count, static_cast<char>(std::stoi(token, nullptr, 16)));
  }
  return std::nullopt;
}

// Example name -> bytes, for every "Example `name`" of the document.
std::map<std::string, std::string> ReadExamples(const std::string& path, std::string* error) {
  std::ifstream in(path);
  std::map<std::string, std::string> examples;
  std::string line;
  std::string* current = nullptr;
  while (std::getline(in, line)) {
    if (line.rfind("Example `", 0) == 0) {
      const std::string name = line.substr(9, line.find('`', 9) - 9);
      if (examples.count(name) != 0) *error += "twice: " + name + "\n";
      current = &examples[name];
    } else if (line.rfind("    ", 0) == 0 && current != nullptr) {
      if (const auto bad = ParseExampleLine(line, current)) *error += "bad token " + *bad + " in: " + line + "\n";
    } else if (!line.empty()) {
      current = nullptr;
    }
  }
  return examples;
}

template <typename T>
std::string BytesOf(const T& value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof(T));
}

template <typename Text>
void PutText(Text& field, std::string_view text) {
  std::memcpy(field, text.data(), text.size());
}

tagSigCond Condition(std::uint8_t field, std::uint8_t value_type, std::uint32_t width, std::uint32_t offset,
                     std::string_view value) {
  tagSigCond condition{};
  condition.field = field;
  condition.compare = kCompareEqual;
  condition.value_type = value_type;
  condition.width = width;
  condition.offset = offset;
  PutText(condition.value, value);
  return condition;
}

std::string Frame(std::string_view body) { return EncodeRequestFrame(kId, body); }
std::string FileFrame(std::string_view body) { return *EncodeFileFrame(kId, body); }

std::string Reply(std::uint16_t code, std::optional<std::string> body, std::int32_t status = kStatusComplete) {
  std::string packets;
  if (body) AppendDataPacket(&packets, {kId, code}, 100, *body);
  AppendEndPacket(&packets, {kId, code}, status);
  return packets;
}

std::string SelectBody() {
  cw_command_req record{};
  PutText(record.sender, "orbe");
  record.page = 1;
  record.page_size = 50;
  record.order_field = 1;
  record.order_desc = 1;
  record.table = kStocks;
  record.fields[0] = 1;
  record.fields[1] = 3;
  record.field_count = 2;
  record.conditions[0] = Condition(6, kTextType, 13, 101, "SH");
  record.condition_count = 1;
  return EncodeSelectBody(record, EncodeOptionBlock({{1, "600000,000001"}}, kMaxOptionLength + 1));
}

std::string StatBody() {
  cw_sqlstat_req record{};
  record.table = kQuotes;
  record.stat_type = kStatMax;
  record.field = 5;
  return EncodeStatBody(record, {});
}

const tagSigCond kCodeCondition = Condition(1, kTextType, 12, 0, "600000");

std::string DeleteBody() {
  cw_sqldelete_req record{};
  PutText(record.key, kOperationKey);
  record.table = kQuotes;
  record.conditions[0] = kCodeCondition;
  record.condition_count = 1;
  return EncodeDeleteBody(record);
}

std::string UpdateBody() {
  cw_sqlupdate_req record{};
  PutText(record.key, kOperationKey);
  record.table = kQuotes;
  record.fields[0] = 5;
  record.field_count = 1;
  record.conditions[0] = kCodeCondition;
  record.condition_count = 1;
  return EncodeUpdateBody(record, BytesOf(9.5));
}

// A text field of width 12, then a long text: the same in a value area and
// in a SELECT reply record.
std::string TextAndLongText() {
  std::string bytes = std::string("600000") + std::string(6 + 4, '\0');
  AppendLongText(&bytes, 12, "abc");
  return bytes;
}

std::string InsertBody() {
  cw_sqlinsert_req record{};
  PutText(record.key, kOperationKey);
  record.table = 100000050;
  record.fields[0] = 1;
  record.fields[1] = 7;
  record.field_count = 2;
  return EncodeInsertBody(record, TextAndLongText());
}

std::string DownloadStatus() {
  DownloadStatusReply reply{};
  PutText(reply.digest, kHelloDigest);
  reply.file_length = 5;
  reply.chunk_count = 1;
  return BytesOf(reply);
}

std::string DataBrowseResult() {
  const DataBrowseHead head{1, static_cast<std::int16_t>(BrowseKey::kSecurityCode),
                            static_cast<std::int16_t>(BrowseValue::kDouble), 8};
  return EncodeDataBrowseHead(head) + "600000" + BytesOf(1.25);
}

const std::map<std::string, std::function<std::string()>>& Encodings() {
  static const std::map<std::string, std::function<std::string()>> encodings = {
      {"host-load-request", [] { return EncodeHostLoadRequest(kId); }},
      {"keep-alive-request", [] { return EncodeKeepAliveRequest(kId); }},
      {"time-stamp-request", [] { return EncodeTableRequest(kId, kCodeTableTimeStamp, kStocks); }},
      {"flush-request", [] { return EncodeTableRequest(kId, kCodeFlush, kStocks); }},
      {"stamp-increase-request", [] { return EncodeTableRequest(kId, kCodeTimeStampIncrease, kStocks); }},
      {"file-fetch-request",
       [] { return EncodeFileFetchRequest(kId, "0123456789ABCDEF0123456789ABCDEF", "constinfo.idx"); }},
      {"select-request", [] { return Frame(SelectBody()); }},
      {"stat-request", [] { return Frame(StatBody()); }},
      {"delete-request", [] { return Frame(DeleteBody()); }},
      {"update-request", [] { return Frame(UpdateBody()); }},
      {"insert-request", [] { return Frame(InsertBody()); }},
      {"call-request", [] { return Frame(EncodeCallBody(kCodeCall, "sys_get_jj_info", "00")); }},
      {"reload-request", [] { return Frame(EncodeCallBody(kCodeReload, "sys_get_jj_info", "")); }},
      {"upload-start-request", [] { return FileFrame(EncodeUploadStart("a.txt", kHelloDigest, 5)); }},
      {"upload-chunk-request", [] { return FileFrame(EncodeUploadChunk(1, 5, "hello")); }},
      {"download-start-request",
       [] { return FileFrame(*EncodeDownloadStart("docs/a.txt", std::string(kDigestTextSize, '0'))); }},
      {"delete-file-request", [] { return FileFrame(*EncodeDeleteFile("docs/a.txt")); }},
      {"reload-path-request", [] { return FileFrame(*EncodeReloadPath("terminal", 0, "docs")); }},
      {"host-load-reply", [] { return Reply(kCodeHostLoad, EncodeHostLoadBody({1, 3000})); }},
      {"time-stamp-reply",
       [] { return Reply(kCodeTableTimeStamp, EncodeTimeStampBody({kTableKnown, 42})); }},
      {"flush-reply", [] { return Reply(kCodeFlush, EncodeFlushResult(kResultOk)); }},
      {"stamp-increase-reply",
       [] { return Reply(kCodeTimeStampIncrease, EncodeTimeStampBody({kResultOk, 43})); }},
      {"write-reply", [] { return Reply(kCodeDelete, EncodeWriteResult({kResultOk, 3})); }},
      {"stat-reply", [] { return Reply(kCodeStatistics, EncodeStatResult(kResultOk, 4, BytesOf<std::int32_t>(17))); }},
      {"select-reply", [] { return Reply(kCodeSelect, TextAndLongText()); }},
      {"call-stamp-reply",
       [] { return Reply(kCodeCall, EncodeCallReply(CallStatus::kSuccess, BytesOf<std::int64_t>(5))); }},
      {"data-browse-reply", [] { return Reply(kCodeCall, EncodeCallReply(CallStatus::kSuccess, DataBrowseResult())); }},
      {"file-fetch-reply", [] { return Reply(kCodeFileFetch, "abc"); }},
      {"file-unchanged-reply", [] { return Reply(kCodeFileFetch, std::nullopt); }},
      {"file-missing-reply", [] { return Reply(kCodeFileFetch, std::nullopt, kStatusNotFound); }},
      {"unknown-code-reply", [] { return Reply(kCodeUploadStart, std::nullopt, kStatusUnknownCode); }},
      {"file-status-reply", [] { return Reply(kCodeDeleteFile, std::string(1, static_cast<char>(kFileOk))); }},
      {"download-start-reply", [] { return Reply(kCodeDownloadStart, DownloadStatus()); }},
  };
  return encodings;
}

std::string Hex(std::string_view bytes) {
  std::string text;
  for (const unsigned char c : bytes) text += "0123456789ABCDEF"[c >> 4], text += "0123456789ABCDEF"[c & 15], text += ' ';
  return text;
}

TEST(ProtocolDocTest, EveryExampleIsWhatTheCodecEncodes) {
  std::string error;
  const auto examples = ReadExamples(std::string(ORBE_SOURCE_DIR) + "/docs/protocol.md", &error);
  EXPECT_EQ(error, "");
  ASSERT_FALSE(examples.empty());
  for (const auto& [name, bytes] : examples) {
    const auto encoding = Encodings().find(name);
    if (encoding == Encodings().end()) {
      ADD_FAILURE() << "the document's example " << name << " has no encoding in this test";
      continue;
    }
    EXPECT_EQ(Hex(bytes), Hex(encoding->second())) << name;
  }
  for (const auto& [name, encode] : Encodings()) {
    EXPECT_EQ(examples.count(name), 1u) << "no example " << name << " in docs/protocol.md";
  }
}

}  // namespace
}  // namespace orbe::wire
