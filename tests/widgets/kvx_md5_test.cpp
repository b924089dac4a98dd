#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "orbe/widgets/kvx_functions.h"

#include "support/md5_vectors.h"

namespace {

using orbe::testing::kRfc1321Suite;
using orbe::testing::Md5Case;

std::string Hex(const unsigned char (&digest)[16]) {
  std::string hex;
  for (const unsigned char byte : digest) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02X", byte);
    hex += pair;
  }
  return hex;
}

std::string DigestInChunks(std::string_view input, std::size_t chunk) {
  KVX_MD5_CTX context;
  KVX_MD5Init(&context);
  for (std::size_t at = 0; at < input.size(); at += chunk) {
    const std::string_view part = input.substr(at, chunk);
    KVX_MD5Update(&context, reinterpret_cast<const unsigned char*>(part.data()),
                  static_cast<unsigned int>(part.size()));
  }
  unsigned char digest[16];
  KVX_MD5Final(digest, &context);
  return Hex(digest);
}

TEST(KvxMd5Test, Rfc1321SuiteWholeAndInOddChunks) {
  for (const Md5Case& c : kRfc1321Suite) {
    for (const std::size_t chunk : {1u, 5u, 13u, 63u, 64u, 65u, 1000u}) {
      EXPECT_EQ(DigestInChunks(c.input, chunk), c.digest) << c.input << " in chunks of " << chunk;
    }
  }
}

TEST(KvxMd5Test, EmptyUpdatesChangeNothingAndFinalReinitialises) {
  KVX_MD5_CTX context;
  KVX_MD5Init(&context);
  const unsigned char abc[] = {'a', 'b', 'c'};
  KVX_MD5Update(&context, abc, 0);
  KVX_MD5Update(&context, nullptr, 0);
  KVX_MD5Update(&context, abc, 3);
  unsigned char digest[16];
  KVX_MD5Final(digest, &context);
  EXPECT_EQ(Hex(digest), "900150983CD24FB0D6963F7D28E17F72");
  KVX_MD5Update(&context, abc, 1);
  KVX_MD5Final(digest, &context);
  EXPECT_EQ(Hex(digest), "0CC175B9C0F1B6A831C399E269772661");
}

}  // namespace
