#include "orbe/platform/crypto.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "support/md5_vectors.h"

namespace orbe {
namespace {

using orbe::testing::kRfc1321Suite;
using orbe::testing::Md5Case;

std::vector<std::uint8_t> FromHex(std::string_view hex) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return bytes;
}

std::string ToHex(const std::vector<std::uint8_t>& bytes) {
  std::string hex;
  for (const std::uint8_t byte : bytes) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02X", byte);
    hex += pair;
  }
  return hex;
}

// Bytes that do not compress to nothing but are the same on every run.
std::string PatternBytes(std::size_t size) {
  std::string bytes(size, '\0');
  std::uint32_t state = 12345;
  for (char& c : bytes) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 24);
  }
  return bytes;
}

class TempFile {
 public:
  explicit TempFile(const std::string& content) {
    char name[] = "/tmp/orbe_crypto_test_XXXXXX";
    const int fd = mkstemp(name);
    path_ = name;
    if (fd >= 0) {
      if (!content.empty()) {
        EXPECT_EQ(write(fd, content.data(), content.size()), ssize_t(content.size()));
      }
      close(fd);
    }
  }
  ~TempFile() { std::remove(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

TEST(Md5Test, Rfc1321SuiteWholeAndInOddChunks) {
  for (const Md5Case& c : kRfc1321Suite) {
    EXPECT_EQ(Md5Hex(c.input), c.digest) << c.input;
    const std::string_view input(c.input);
    for (const std::size_t chunk : {1u, 3u, 7u, 63u, 64u, 65u}) {
      Md5 md5;
      for (std::size_t at = 0; at < input.size(); at += chunk) md5.Update(input.substr(at, chunk));
      EXPECT_EQ(DigestHex(md5.Final()), c.digest) << c.input << " in chunks of " << chunk;
    }
  }
}

TEST(Md5Test, FinalStartsOver) {
  Md5 md5;
  md5.Update("message digest");
  md5.Final();
  md5.Update("abc");
  EXPECT_EQ(DigestHex(md5.Final()), "900150983CD24FB0D6963F7D28E17F72");
}

TEST(Md5Test, FileDigest) {
  EXPECT_EQ(FileMd5Hex(TempFile("").path()), "D41D8CD98F00B204E9800998ECF8427E");
  EXPECT_EQ(FileMd5Hex(TempFile("abc").path()), "900150983CD24FB0D6963F7D28E17F72");
  EXPECT_EQ(FileMd5Hex("/nonexistent/orbe/file.idx"), "");
  EXPECT_EQ(FileMd5Hex(""), "");
  // A directory opens but cannot be read; that is no digest either.
  EXPECT_EQ(FileMd5Hex("/tmp"), "");
  // Block boundaries: exactly one block, one block and a bit, several blocks.
  for (const std::size_t size : {16384u, 16385u, 3u * 16384u + 17u}) {
    const std::string content = PatternBytes(size);
    EXPECT_EQ(FileMd5Hex(TempFile(content).path()), Md5Hex(content)) << size;
  }
}

struct BlowfishCase {
  const char* key;
  const char* plain;
  const char* cipher;
};

// Eric Young's ECB test vectors for Blowfish (key, plain text, cipher text).
constexpr BlowfishCase kEcbVectors[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
    {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
    {"3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB"},
    {"04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A"},
    {"0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918"},
    {"0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98"},
    {"43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5"},
    {"07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79"},
    {"04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3"},
    {"37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969"},
    {"1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B"},
    {"584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E"},
    {"025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD"},
    {"49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019"},
    {"4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3"},
    {"49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5"},
    {"018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778"},
    {"1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201"},
    {"1F1F1F1F0E0E0E0E", "0123456789ABCDEF", "A790795108EA3CAE"},
    {"E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D"},
    {"0000000000000000", "FFFFFFFFFFFFFFFF", "014933E0CDAFF6E4"},
    {"FFFFFFFFFFFFFFFF", "0000000000000000", "F21E9A77B71C49BC"},
    {"0123456789ABCDEF", "0000000000000000", "245946885754369A"},
    {"FEDCBA9876543210", "FFFFFFFFFFFFFFFF", "6B5C5A9C5D9E0A5A"},
};

// Eric Young's variable-key vectors: plain text FEDCBA9876543210 under the
// first n bytes of this key, n from 1 to 24; here from the 4-byte minimum.
constexpr const char* kVariableKey = "F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677";
constexpr const char* kVariableKeyCiphers[] = {
    "BE1E639408640F05", "B39E44481BDB1E6E", "9457AA83B1928C0D", "8BB77032F960629D", "E87A244E2CC85E82",
    "15750E7A4F4EC577", "122BA70B3AB64AE0", "3A833C9AFFC537F6", "9409DA87A90F6BF2", "884F80625060B8B4",
    "1F85031C19E11968", "79D9373A714CA34F", "93142887EE3BE15C", "03429E838CE2D14B", "A4299E27469FF67B",
    "AFD5AED1C1BC96A8", "10851C0E3858DA9F", "E6F51ED79B9DB21F", "64A6E14AFD36B46F", "80C7D7D45A5479AD",
    "05044B62FA52D080",
};

TEST(BlowfishTest, EcbVectorsBothWays) {
  for (const BlowfishCase& c : kEcbVectors) {
    const std::vector<std::uint8_t> key = FromHex(c.key);
    const Blowfish cipher(key.data(), key.size());
    std::vector<std::uint8_t> block = FromHex(c.plain);
    ASSERT_TRUE(cipher.Encrypt(block.data(), block.size()));
    EXPECT_EQ(ToHex(block), c.cipher) << "key " << c.key;
    ASSERT_TRUE(cipher.Decrypt(block.data(), block.size()));
    EXPECT_EQ(ToHex(block), c.plain) << "key " << c.key;
  }
}

TEST(BlowfishTest, VariableKeyLengths) {
  const std::vector<std::uint8_t> key = FromHex(kVariableKey);
  std::size_t length = Blowfish::kMinKeySize;
  for (const char* expected : kVariableKeyCiphers) {
    const Blowfish cipher(key.data(), length);
    std::vector<std::uint8_t> block = FromHex("FEDCBA9876543210");
    ASSERT_TRUE(cipher.Encrypt(block.data(), block.size())) << length;
    EXPECT_EQ(ToHex(block), expected) << "key of " << length << " bytes";
    ++length;
  }
}

TEST(BlowfishTest, RefusesKeysOutsideTheCipherRange) {
  const std::string key(64, 'k');
  for (const std::size_t length : {0u, 1u, 3u, 57u, 64u}) {
    const Blowfish cipher(key.data(), length);
    EXPECT_FALSE(cipher.Keyed()) << length;
    std::string block = "12345678";
    EXPECT_FALSE(cipher.Encrypt(block.data(), block.size())) << length;
    EXPECT_FALSE(cipher.Decrypt(block.data(), block.size())) << length;
    EXPECT_EQ(block, "12345678");
  }
  EXPECT_TRUE(Blowfish(key.data(), 4).Keyed());
  EXPECT_TRUE(Blowfish(key.data(), 56).Keyed());
  EXPECT_FALSE(Blowfish(nullptr, 8).Keyed());
}

TEST(BlowfishTest, WholeBlocksOnlyAndRoundTrip) {
  const Blowfish cipher(std::string_view("Ab3dE6gH9jK2"));
  std::string text = "select * from T where code = '600000';";
  text.resize(48, '\0');
  const std::string original = text;
  ASSERT_TRUE(cipher.Encrypt(text.data(), text.size()));
  EXPECT_NE(text, original);
  // ECB: equal plain blocks give equal cipher blocks, each block on its own.
  std::string first = original.substr(0, 8);
  ASSERT_TRUE(cipher.Encrypt(first.data(), first.size()));
  EXPECT_EQ(text.substr(0, 8), first);
  ASSERT_TRUE(cipher.Decrypt(text.data(), text.size()));
  EXPECT_EQ(text, original);

  for (const std::size_t bad : {1u, 7u, 9u, 47u}) {
    std::string data = original;
    EXPECT_FALSE(cipher.Encrypt(data.data(), bad)) << bad;
    EXPECT_FALSE(cipher.Decrypt(data.data(), bad)) << bad;
    EXPECT_EQ(data, original) << bad;
  }
  EXPECT_TRUE(cipher.Encrypt(text.data(), 0));
  EXPECT_EQ(text, original);
}

TEST(Base64Test, Rfc4648VectorsAndRoundTrip) {
  const std::pair<const char*, const char*> vectors[] = {
      {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
  };
  for (const auto& [plain, text] : vectors) {
    EXPECT_EQ(Base64Encode(plain), text);
    EXPECT_EQ(Base64Decode(text), std::optional<std::string>(plain)) << text;
  }
  std::string all_bytes;
  for (int b = 0; b < 256; ++b) all_bytes += static_cast<char>(b);
  for (std::size_t size = 0; size <= all_bytes.size(); size += 37) {
    const std::string bytes = all_bytes.substr(all_bytes.size() - size);
    EXPECT_EQ(Base64Decode(Base64Encode(bytes)), std::optional<std::string>(bytes)) << size;
  }
}

TEST(Base64Test, RejectsAnythingButCanonicalText) {
  for (const char* bad : {"Zg", "Zg=", "Zm9", "Z===", "====", "Zm9v\n", "Zm 9v", " Zm9v", "Zg==Zg==", "=Zg=",
                          "Zm=v", "Zm9v!AAA", "Zh==", "Zm9=", "Zm9vYg-_", "\xd6\xd0\xce\xc4"}) {
    EXPECT_FALSE(Base64Decode(bad).has_value()) << bad;
  }
  EXPECT_FALSE(Base64Decode(std::string("Zm\0v", 4)).has_value());
}

TEST(ZlibTest, RoundTripAndBounds) {
  const std::string inputs[] = {"", "a", std::string(100000, 'x'), PatternBytes(70000)};
  for (const std::string& input : inputs) {
    const std::string stream = Compress(input);
    ASSERT_FALSE(stream.empty());
    EXPECT_EQ(Uncompress(stream, input.size()), std::optional<std::string>(input)) << input.size();
    EXPECT_EQ(Uncompress(stream, input.size() + 1000), std::optional<std::string>(input)) << input.size();
    if (!input.empty()) {
      EXPECT_FALSE(Uncompress(stream, input.size() - 1).has_value()) << input.size();
    }
  }
  // A small stream may claim a huge output; the bound stops it.
  const std::string bomb = Compress(std::string(10 * 1024 * 1024, '\0'), 9);
  EXPECT_LT(bomb.size(), 20000u);
  EXPECT_FALSE(Uncompress(bomb, 1024 * 1024).has_value());
}

TEST(ZlibTest, RejectsDamagedStreams) {
  const std::string input = PatternBytes(5000);
  const std::string stream = Compress(input);
  EXPECT_FALSE(Uncompress("", 100).has_value());
  EXPECT_FALSE(Uncompress("not a zlib stream", 100).has_value());
  EXPECT_FALSE(Uncompress(stream.substr(0, stream.size() / 2), input.size()).has_value());
  EXPECT_FALSE(Uncompress(stream.substr(0, stream.size() - 1), input.size()).has_value());
  EXPECT_FALSE(Uncompress(stream + "trailing", input.size()).has_value());
  std::string flipped = stream;
  flipped[flipped.size() / 2] = static_cast<char>(flipped[flipped.size() / 2] ^ 0x55);
  EXPECT_FALSE(Uncompress(flipped, input.size()).has_value());
}

TEST(UuidTest, TextFormAndUniqueness) {
  std::set<std::string> seen;
  for (int i = 0; i < 1000; ++i) {
    const std::string text = NewUuidText();
    ASSERT_EQ(text.size(), 36u) << text;
    for (std::size_t at = 0; at < text.size(); ++at) {
      if (at == 8 || at == 13 || at == 18 || at == 23) {
        ASSERT_EQ(text[at], '-') << text;
      } else {
        ASSERT_TRUE(std::isxdigit(static_cast<unsigned char>(text[at])) && !std::isupper(text[at])) << text;
      }
    }
    EXPECT_EQ(text[14], '4') << "random UUIDs are version 4: " << text;
    seen.insert(text);
  }
  EXPECT_EQ(seen.size(), 1000u);
}

}  // namespace
}  // namespace orbe
