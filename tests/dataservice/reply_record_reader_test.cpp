// Typed field reads of SELECT reply records.
#include "dataservice/reply_record_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace {

tagMemFieldInfo Field(int type, std::uint32_t offset, std::uint32_t width, const char* constClass = "") {
  tagMemFieldInfo field{};
  field.field_number = 1;
  field.type = type;
  field.offset = offset;
  field.width = width;
  std::strncpy(field.const_class, constClass, sizeof field.const_class - 1);
  return field;
}

template <typename T>
void Put(std::string& record, std::size_t offset, T value) {
  if (record.size() < offset + sizeof(T)) record.resize(offset + sizeof(T), '\0');
  std::memcpy(record.data() + offset, &value, sizeof(T));
}

std::string Text(std::string_view record, const tagMemFieldInfo& field, int size = 64,
                 const orbe::ConstTextLookup* consts = nullptr) {
  std::string buffer(static_cast<std::size_t>(size), 'x');
  if (!orbe::ReadFieldAsText(record, field, buffer.data(), size, consts)) return "<false>";
  return std::string(buffer.c_str());
}

TEST(ReplyRecordReaderTest, IntegersByTypeAndWidth) {
  std::string record;
  Put<std::int16_t>(record, 0, -1234);
  Put<std::int32_t>(record, 2, -70000);
  Put<std::int64_t>(record, 6, (std::int64_t{5} << 32) | 0xFFFFFFFEu);
  Put<std::uint8_t>(record, 14, 200);
  int value = 0;
  ASSERT_TRUE(orbe::ReadFieldAsInt(record, Field(3, 0, 2), &value));
  EXPECT_EQ(value, -1234);
  ASSERT_TRUE(orbe::ReadFieldAsInt(record, Field(4, 2, 4), &value));
  EXPECT_EQ(value, -70000);
  ASSERT_TRUE(orbe::ReadFieldAsInt(record, Field(9, 2, 4), &value));
  EXPECT_EQ(value, -70000);
  ASSERT_TRUE(orbe::ReadFieldAsInt(record, Field(5, 6, 8), &value));
  EXPECT_EQ(value, -2);  // low 32 bits
  ASSERT_TRUE(orbe::ReadFieldAsInt(record, Field(6, 14, 1), &value));
  EXPECT_EQ(value, 200);
  std::int64_t wide = 0;
  ASSERT_TRUE(orbe::ReadFieldAsInt64(record, Field(5, 6, 8), &wide));
  EXPECT_EQ(wide, (std::int64_t{5} << 32) | 0xFFFFFFFEu);
  EXPECT_FALSE(orbe::ReadFieldAsInt64(record, Field(4, 2, 4), &wide));
  for (int type : {1, 2, 7, 8, 11, 12}) EXPECT_FALSE(orbe::ReadFieldAsInt(record, Field(type, 0, 4), &value)) << type;
  double real = 0;
  EXPECT_FALSE(orbe::ReadFieldAsDouble(record, Field(4, 2, 4), &real));
}

TEST(ReplyRecordReaderTest, ReadsStopAtTheRecordEnd) {
  std::string record(10, '\0');
  int value = 0;
  EXPECT_TRUE(orbe::ReadFieldAsInt(record, Field(4, 6, 4), &value));
  EXPECT_FALSE(orbe::ReadFieldAsInt(record, Field(4, 7, 4), &value));
  EXPECT_FALSE(orbe::ReadFieldAsInt(record, Field(3, 9, 2), &value));
  EXPECT_FALSE(orbe::ReadFieldAsInt(record, Field(4, 0xFFFFFFFEu, 4), &value));
  std::int64_t wide = 0;
  EXPECT_FALSE(orbe::ReadFieldAsInt64(record, Field(10, 4, 8), &wide));
  EXPECT_EQ(Text(record, Field(2, 4, 7)), "<false>");  // the text runs past the end
  EXPECT_EQ(Text(record, Field(8, 3, 8)), "<false>");
}

TEST(ReplyRecordReaderTest, FloatsAndTheirText) {
  std::string record;
  Put<float>(record, 0, 1.5f);
  Put<double>(record, 4, -2.25);
  double value = 0;
  ASSERT_TRUE(orbe::ReadFieldAsDouble(record, Field(7, 0, 4), &value));
  EXPECT_EQ(value, 1.5);
  ASSERT_TRUE(orbe::ReadFieldAsDouble(record, Field(8, 4, 8), &value));
  EXPECT_EQ(value, -2.25);
  EXPECT_EQ(Text(record, Field(7, 0, 4)), "1.500");
  EXPECT_EQ(Text(record, Field(8, 4, 8)), "-2.250");
}

TEST(ReplyRecordReaderTest, NumbersAsText) {
  std::string record;
  Put<std::int16_t>(record, 0, -7);
  Put<std::int32_t>(record, 2, 123456);
  Put<std::int64_t>(record, 6, -9000000000LL);
  Put<std::uint8_t>(record, 14, 200);
  Put<std::int32_t>(record, 15, 20240105);
  Put<std::int32_t>(record, 19, 93000);
  Put<std::int32_t>(record, 23, 20231231);
  Put<std::int32_t>(record, 27, 0);
  Put<std::int32_t>(record, 31, 20231231);
  Put<std::int32_t>(record, 35, -5);
  EXPECT_EQ(Text(record, Field(3, 0, 2)), "-7");
  EXPECT_EQ(Text(record, Field(4, 2, 4)), "123456");
  EXPECT_EQ(Text(record, Field(9, 2, 4)), "123456");
  EXPECT_EQ(Text(record, Field(5, 6, 8)), "-9000000000");
  EXPECT_EQ(Text(record, Field(6, 14, 1)), "-56");  // the byte read as signed
  EXPECT_EQ(Text(record, Field(10, 15, 8)), "20240105-093000");
  EXPECT_EQ(Text(record, Field(10, 23, 8)), "20231231");  // time 0: the date alone
  EXPECT_EQ(Text(record, Field(10, 31, 8)), "20231231");  // negative time likewise
  EXPECT_EQ(Text(record, Field(4, 2, 4), 8), "<false>");  // size must exceed 8
  EXPECT_EQ(Text(record, Field(4, 2, 4), 9), "123456");
  EXPECT_EQ(Text(record, Field(99, 0, 4)), "<false>");
}

TEST(ReplyRecordReaderTest, FixedTextIsBoundedByWidthAndSize) {
  std::string record = std::string("ABCDEFGHIJKL", 12) + std::string("xy\0\0", 4);
  EXPECT_EQ(Text(record, Field(2, 0, 12)), "ABCDEFGHIJKL");
  EXPECT_EQ(Text(record, Field(2, 0, 5)), "ABCDE");
  EXPECT_EQ(Text(record, Field(2, 0, 12), 10), "ABCDEFGHI");
  EXPECT_EQ(Text(record, Field(2, 12, 4)), "xy");
}

TEST(ReplyRecordReaderTest, ConstantCodesAreTranslated) {
  const std::map<std::string, std::string> texts = {{"01", "\xc5\xa9\xd2\xb5"}, {"02", "two"}};
  const orbe::ConstTextLookup lookup = [&](std::string_view code, std::string* text) {
    const auto found = texts.find(std::string(code));
    if (found == texts.end()) return false;
    *text = found->second;
    return true;
  };
  std::string record("01,99,02\0\0\0\0", 12);
  const tagMemFieldInfo field = Field(1, 0, 12, "974");
  EXPECT_EQ(Text(record, field, 64, &lookup), "\xc5\xa9\xd2\xb5,two");  // 99 has no text
  EXPECT_EQ(Text(record, field, 64, nullptr), "01,99,02");              // the raw read
  EXPECT_EQ(Text(record, field, 9, &lookup), "\xc5\xa9\xd2\xb5,two");
  EXPECT_EQ(Text(record, Field(1, 0, 5, "974"), 64, &lookup), "\xc5\xa9\xd2\xb5");  // codes cut at the width
  EXPECT_EQ(orbe::TranslateConstCodes("", lookup), "");
  EXPECT_EQ(orbe::TranslateConstCodes("02,01", lookup), "two,\xc5\xa9\xd2\xb5");
}

TEST(ReplyRecordReaderTest, LongTextLivesBehindTheFixedPart) {
  std::string record;
  Put<std::int32_t>(record, 0, 7);
  Put<std::uint32_t>(record, 4, 12);  // offset of the data
  Put<std::uint32_t>(record, 8, 0);   // padding
  Put<std::uint32_t>(record, 12, 5);  // length
  record += "hello";
  EXPECT_EQ(Text(record, Field(11, 4, 4)), "hello");
  EXPECT_EQ(Text(record, Field(12, 4, 4), 9), "hello");
  std::string cut = record.substr(0, record.size() - 1);
  EXPECT_EQ(Text(cut, Field(11, 4, 4)), "<false>");  // the length runs past the record
  Put<std::uint32_t>(record, 4, 0xFFFFFFF0u);
  EXPECT_EQ(Text(record, Field(11, 4, 4)), "<false>");
}

}  // namespace
