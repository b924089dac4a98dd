#include "server_options.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "orbe/platform/file.h"

namespace orbe::server {
namespace {

bool Parse(std::vector<std::string> arguments, ServerOptions* options, std::string* error) {
  return ParseServerOptions(arguments, options, error);
}

TEST(ServerOptionsTest, CommandLineValuesAndTheirBounds) {
  ServerOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"--db", "m.db", "--port", "0", "--capacity", "0", "--log-level", "WARN", "--file-root",
                     "/tmp/r"}, &options, &error)) << error;
  EXPECT_EQ(options.config.port, 0);
  EXPECT_EQ(options.config.capacity, 0u);
  EXPECT_EQ(options.log_level, LogLevel::kWarn);
  EXPECT_EQ(options.config.file_root, "/tmp/r");
  EXPECT_TRUE(options.browse_stamps);
  ServerOptions stampless;
  ASSERT_TRUE(Parse({"--db", "m.db", "--browse-stamps", "off"}, &stampless, &error)) << error;
  EXPECT_FALSE(stampless.browse_stamps);

  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"--db", "m.db", "--port", "65536"}, {"--db", "m.db", "--port", "-1"}, {"--db", "m.db", "--port"},
           {"--db", "m.db", "--port", "12x"}, {"--db", "m.db", "--log-level", "loud"}, {"--port", "1"},
           {"--db", "m.db", "--bogus", "1"}, {"--make-sample", "s.db", "--scale", "0"},
           {"--db", "m.db", "--browse-stamps", "no"}}) {
    ServerOptions rejected;
    EXPECT_FALSE(Parse(bad, &rejected, &error)) << bad.back();
  }
  ServerOptions sample;
  ASSERT_TRUE(Parse({"--make-sample", "s.db", "--scale", "0.01"}, &sample, &error)) << error;
  EXPECT_EQ(sample.mode, ServerMode::kMakeSample);
  EXPECT_DOUBLE_EQ(sample.sample_scale, 0.01);
  ServerOptions help;
  ASSERT_TRUE(Parse({"--help"}, &help, &error));
  EXPECT_EQ(help.mode, ServerMode::kHelp);
}

TEST(ServerOptionsTest, ConfigFileIsReadAndTheCommandLineWins) {
  const std::string path = (std::filesystem::temp_directory_path() / "orbe_srv_options.ini").string();
  ASSERT_TRUE(WriteFileAtomically(path, "[Server]\r\nport=9100\r\nCapacity=77\r\nLogLevel=debug\r\n"
                                        "FilePort=8367\r\nFileRoot=/srv/files\r\n"));
  ServerOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"--port", "9200", "--config", path, "--db", "m.db"}, &options, &error)) << error;
  EXPECT_EQ(options.config.port, 9200);  // before or after --config, the command line wins
  EXPECT_EQ(options.config.capacity, 77u);
  EXPECT_EQ(options.log_level, LogLevel::kDebug);
  EXPECT_EQ(options.file_port, 8367);
  EXPECT_EQ(options.config.file_root, "/srv/files");

  ASSERT_TRUE(WriteFileAtomically(path, "[server]\r\nPort=http\r\n"));
  ServerOptions bad;
  EXPECT_FALSE(Parse({"--config", path, "--db", "m.db"}, &bad, &error));
  EXPECT_NE(error.find("Port"), std::string::npos);
  EXPECT_FALSE(Parse({"--config", path + ".missing", "--db", "m.db"}, &bad, &error));
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace orbe::server
