#include "file_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "orbe/platform/crypto.h"
#include "orbe/platform/file.h"

namespace orbe::server {
namespace {

TEST(FileStoreTest, DigestIsOfThePlainContent) {
  const std::string plain(1000, 'q');
  EXPECT_EQ(PlainContentDigest(Compress(plain)), Md5Hex(plain));
  EXPECT_EQ(PlainContentDigest(plain), Md5Hex(plain));
  EXPECT_EQ(PlainContentDigest(""), Md5Hex(""));
}

TEST(FileStoreTest, PublishesTheDictionaryAndNoticesRewrites) {
  const std::string root = (std::filesystem::temp_directory_path() / "orbe_srv_file_store").string();
  std::filesystem::remove_all(root);
  FileStore store(root);
  DictionarySchema schema;
  schema.tables.push_back({100, 0, "t", {{1, 4, 4, "", "n"}}});
  std::string error;
  ASSERT_TRUE(store.Publish(schema, &error)) << error;
  for (const char* name : {"constinfo.idx", "tableinfo.idx", "fieldinfo.idx", "tableinfo.idx.compress",
                           "fieldinfo.idx.compress"}) {
    EXPECT_EQ(store.Fetch(name, "").outcome, FetchOutcome::kContent) << name;
  }
  const FetchAnswer fields = store.Fetch("fieldinfo.idx.compress", "");
  ASSERT_TRUE(fields.bytes);
  EXPECT_EQ(Uncompress(*fields.bytes, 1000).value_or("").size(), 100u);

  ASSERT_TRUE(WriteFileAtomically(root + "/extra.txt", "one"));
  EXPECT_EQ(store.Fetch("extra.txt", Md5Hex("one")).outcome, FetchOutcome::kUnchanged);
  ASSERT_TRUE(WriteFileAtomically(root + "/extra.txt", "two"));  // same size, new inode
  EXPECT_EQ(store.Fetch("extra.txt", Md5Hex("one")).outcome, FetchOutcome::kContent);
  EXPECT_EQ(*store.Fetch("extra.txt", "").bytes, "two");

  std::filesystem::create_directory(root + "/folder");
  EXPECT_EQ(store.Fetch("folder", "").outcome, FetchOutcome::kNotFound);
  EXPECT_EQ(store.Fetch("a/b", "").outcome, FetchOutcome::kBadName);
  std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace orbe::server
