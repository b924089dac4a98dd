#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "orbe/platform/crypto.h"
#include "orbe/widgets/kvx_functions.h"

namespace {

const unsigned char kZeroKey[8] = {};
const unsigned char kOnesKey[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

TEST(KvxBlowfishTest, PublishedVectors) {
  // Eric Young's ECB vectors: all-zero and all-one key and block.
  unsigned char block[8] = {};
  CKvxBlowfish zero(kZeroKey, 8);
  ASSERT_TRUE(zero.Encrypt(block, 8));
  const unsigned char zero_cipher[8] = {0x4E, 0xF9, 0x97, 0x45, 0x61, 0x98, 0xDD, 0x78};
  EXPECT_EQ(std::memcmp(block, zero_cipher, 8), 0);
  ASSERT_TRUE(zero.Decrypt(block, 8));
  EXPECT_EQ(std::memcmp(block, kZeroKey, 8), 0);

  unsigned char ones[8];
  std::memcpy(ones, kOnesKey, 8);
  CKvxBlowfish one(kOnesKey, 8);
  ASSERT_TRUE(one.Encrypt(ones, 8));
  const unsigned char ones_cipher[8] = {0x51, 0x86, 0x6F, 0xD5, 0xB8, 0x5E, 0xCB, 0x8A};
  EXPECT_EQ(std::memcmp(ones, ones_cipher, 8), 0);
}

TEST(KvxBlowfishTest, RefusesBadKeysAndLengths) {
  unsigned char buffer[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  const std::string original(reinterpret_cast<char*>(buffer), sizeof buffer);
  const unsigned char key[60] = {7};
  for (const int length : {-8, 0, 3, 57}) {
    CKvxBlowfish cipher(key, length);
    EXPECT_FALSE(cipher.Encrypt(buffer, 16)) << length;
    EXPECT_FALSE(cipher.Decrypt(buffer, 16)) << length;
  }
  CKvxBlowfish cipher(key, 12);
  EXPECT_FALSE(cipher.Decrypt(buffer, -8));
  EXPECT_FALSE(cipher.Decrypt(buffer, 12));
  EXPECT_FALSE(cipher.Encrypt(buffer, 15));
  EXPECT_FALSE(cipher.Decrypt(nullptr, 8));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), sizeof buffer), original);
}

TEST(KvxBlowfishTest, SecuredStatementRoundTrip) {
  // The secured form scripts pass: Base64 of the statement enciphered under a
  // 12-character key, padded with NULs to whole blocks.
  const unsigned char key[] = "Q7mZ2pK9xW4c";
  std::string statement = "SELECT T001,T002 FROM T WHERE T001='000001'";
  statement.resize((statement.size() + 7) / 8 * 8, '\0');
  std::string enciphered = statement;
  ASSERT_TRUE(CKvxBlowfish(key, 12).Encrypt(reinterpret_cast<unsigned char*>(enciphered.data()),
                                           static_cast<int>(enciphered.size())));
  const std::string secured = orbe::Base64Encode(enciphered);

  std::optional<std::string> decoded = orbe::Base64Decode(secured);
  ASSERT_TRUE(decoded.has_value());
  CKvxBlowfish cipher(key, 12);
  auto* bytes = reinterpret_cast<unsigned char*>(decoded->data());
  ASSERT_TRUE(cipher.Decrypt(bytes, static_cast<int>(decoded->size())));
  EXPECT_EQ(*decoded, statement);
  // The same text under another key is garbage, not the statement.
  std::string other = *orbe::Base64Decode(secured);
  const unsigned char wrong_key[] = "Q7mZ2pK9xW4d";
  ASSERT_TRUE(CKvxBlowfish(wrong_key, 12).Decrypt(reinterpret_cast<unsigned char*>(other.data()),
                                                 static_cast<int>(other.size())));
  EXPECT_NE(other, statement);
}

}  // namespace
