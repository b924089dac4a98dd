#include "env/start_settings.h"

#include <algorithm>

#include "dataservice/host_records.h"
#include "orbe/platform/profile.h"

namespace orbe {
namespace {

constexpr int kMaxHostTestSeconds = 6;
constexpr int kFallbackHostTestSeconds = 3;
constexpr int kMinMaxSize = 10;
constexpr int kMaxMaxSize = 500;
constexpr int kDefaultMaxSize = 10;
// Keys are numbered "%02d"; a larger count is a typo.
constexpr int kMaxServers = 99;

int GeneralDatabase(const std::string& file, const char* section, int argument) {
  return argument >= 0 ? argument : ProfileInt(file, section, "GeneralDB", 0);
}

}  // namespace

StartSettings ReadStartSettings(const std::string& configuration_file, int general_database_argument) {
  StartSettings settings;
  settings.general_database = GeneralDatabase(configuration_file, "CWSYS", general_database_argument);
  settings.alternative_sessions = ProfileInt(configuration_file, "CWSYS", "SMT", 5) < 5;
  settings.push = ProfileInt(configuration_file, "CWSYS", "TPPUSH", 0) != 0;
  settings.sub_host = ProfileInt(configuration_file, "CWSYS", "SubCwHost", 0) != 0;
  const int nlb = ProfileInt(configuration_file, "CWSYS", "NLB", 0);
  settings.host_test_seconds = nlb < 0 || nlb > kMaxHostTestSeconds ? kFallbackHostTestSeconds : nlb;
  settings.time_out_seconds = ProfileInt(configuration_file, "CWSYS", "TimeOut", 6);
  return settings;
}

int ReadSubGeneralDatabase(const std::string& configuration_file, int general_database_argument) {
  return GeneralDatabase(configuration_file, "SUBCWSYS", general_database_argument);
}

FileServerList ReadFileServerList(const std::string& configuration_file) {
  const bool data_hosts = ProfileInt(configuration_file, "FILESRV", "UserTPHost", 0) != 0;
  const HostKeys& keys = data_hosts ? kTpFileServerKeys : kFileServerKeys;
  const int count = ProfileInt(configuration_file, keys.section, data_hosts ? "CWHostNum" : "Num", 1);
  FileServerList list;
  list.primary = ProfileInt(configuration_file, keys.section, data_hosts ? "PrimaryCWHost" : "Primary", 0);
  for (int number = 1; number <= std::min(count, kMaxServers); ++number) {
    list.hosts.push_back(ReadHostRecord(configuration_file, keys, number));
  }
  int max_size = ProfileInt(configuration_file, "FILESRV", "MaxSize", kDefaultMaxSize);
  if (max_size < kMinMaxSize || max_size > kMaxMaxSize) max_size = kDefaultMaxSize;
  list.max_file_bytes = static_cast<std::uint64_t>(max_size) * kMebibyte;
  return list;
}

}  // namespace orbe
