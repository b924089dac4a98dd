#include "server_options.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "access_control.h"
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
  EXPECT_TRUE(options.config.background_thread);
  ServerOptions foreground;
  ASSERT_TRUE(Parse({"--db", "m.db", "--background-network", "off"}, &foreground, &error)) << error;
  EXPECT_FALSE(foreground.config.background_thread);

  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"--db", "m.db", "--port", "65536"},
                                             {"--db", "m.db", "--port", "-1"},
                                             {"--db", "m.db", "--port"},
                                             {"--db", "m.db", "--port", "12x"},
                                             {"--db", "m.db", "--log-level", "loud"},
                                             {"--port", "1"},
                                             {"--db", "m.db", "--bogus", "1"},
                                             {"--make-sample", "s.db", "--scale", "0"},
                                             {"--db", "m.db", "--browse-stamps", "no"},
                                             {"--db", "m.db", "--background-network", "1"}}) {
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

// Where the server listens, whom it serves and whether it writes, from the
// options together: the defaults are loopback, loopback clients, read-write.
TEST(ServerOptionsTest, AccessOptionsMakeTheirPolicy) {
  struct Case {
    std::vector<std::string> arguments;
    bool accepted;
    bool writable;
    std::vector<Network> allowed;
  };
  const Network ten{0x0A000000u, 0xFF000000u};
  const Network host{0xC0A80105u, 0xFFFFFFFFu};
  const std::vector<Case> cases = {
      {{"--db", "m.db"}, true, true, {kLoopbackNetwork}},
      {{"--db", "m.db", "--listen", "127.0.0.1"}, true, false, {kLoopbackNetwork}},
      {{"--db", "m.db", "--listen", "127.0.0.1", "--writable"}, true, true, {kLoopbackNetwork}},
      {{"--db", "m.db", "--listen", "0.0.0.0", "--allow", "10.0.0.0/8, 192.168.1.5"}, true, false, {ten, host}},
      {{"--db", "m.db", "--listen", "0.0.0.0"}, false, false, {}},         // beyond loopback without --allow
      {{"--db", "m.db", "--listen", "10.1.2.3"}, false, false, {}},
      {{"--db", "m.db", "--listen", "localhost"}, false, false, {}},       // an address, not a name
      {{"--db", "m.db", "--allow", "10.1.2.3/8"}, false, false, {}},       // host bits set
      {{"--db", "m.db", "--allow", "10.0.0.0/33"}, false, false, {}},
      {{"--db", "m.db", "--allow", ","}, false, false, {}},
      {{"--db", "m.db", "--pg", "postgresql://h/d", "--file-root", "f"}, false, false, {}},  // two stores
      {{"--pg", "postgresql://h/d"}, false, false, {}},                    // no folder for the files
      {{"--pg", "postgresql://h/d", "--file-root", "f", "--workers", "4"}, true, true, {kLoopbackNetwork}},
      {{"--db", "m.db", "--workers", "0"}, false, false, {}},
  };
  for (const Case& c : cases) {
    ServerOptions options;
    std::string error;
    const bool accepted = Parse(c.arguments, &options, &error);
    EXPECT_EQ(accepted, c.accepted) << c.arguments.back() << ": " << error;
    if (!accepted || !c.accepted) continue;
    EXPECT_EQ(options.config.access.writable, c.writable) << c.arguments.back();
    EXPECT_EQ(options.config.access.allowed, c.allowed) << c.arguments.back();
  }
  ServerOptions pg;
  std::string error;
  ASSERT_TRUE(Parse({"--pg", "postgresql://h/d", "--file-root", "f", "--workers", "4"}, &pg, &error)) << error;
  EXPECT_TRUE(pg.config.storage.IsPostgres());
  EXPECT_EQ(pg.config.workers, 4);
}

TEST(AccessControlTest, NetworksAdmitTheirAddressesOnly) {
  AccessPolicy policy;
  std::string error;
  ASSERT_TRUE(ParseNetworks("10.20.0.0/16,127.0.0.1/32,0.0.0.0/0", &policy.allowed, &error)) << error;
  EXPECT_EQ(policy.allowed[2], (Network{0, 0}));  // everyone
  ASSERT_TRUE(ParseNetworks("10.20.0.0/16, 127.0.0.1", &policy.allowed, &error)) << error;
  const auto peer = [](const char* address) {
    sockaddr_in in{};
    in.sin_family = AF_INET;
    in.sin_addr.s_addr = htonl(*ParseAddress(address));
    return in;
  };
  struct Case {
    const char* address;
    bool admitted;
  };
  for (const Case& c : {Case{"10.20.0.0", true}, Case{"10.20.255.255", true}, Case{"10.21.0.1", false},
                        Case{"127.0.0.1", true}, Case{"127.0.0.2", false}, Case{"192.168.1.1", false}}) {
    EXPECT_EQ(policy.Admits(peer(c.address)), c.admitted) << c.address;
  }
  EXPECT_EQ(PeerText(peer("10.20.3.4")), "10.20.3.4:0");
}

}  // namespace
}  // namespace orbe::server
