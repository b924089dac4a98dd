// What InitDataEngin reads from the communication INI file.
#ifndef ORBE_ENV_START_SETTINGS_H_
#define ORBE_ENV_START_SETTINGS_H_

#include <string>

#include "env/module_state.h"
#include "protocol/cw_host_info.h"

namespace orbe {

struct StartSettings {
  int general_database = 0;
  bool alternative_sessions = false;  // SMT below 5
  bool push = false;                  // TPPUSH
  bool sub_host = false;              // SubCwHost
  int host_test_seconds = 0;          // NLB, 0..6 (others become 3)
  int time_out_seconds = 6;           // TimeOut
};

// Section CWSYS; a general database argument of 0 or more replaces GeneralDB.
StartSettings ReadStartSettings(const std::string& configuration_file, int general_database_argument);
// GeneralDB of SUBCWSYS, replaced in the same way.
int ReadSubGeneralDatabase(const std::string& configuration_file, int general_database_argument);
// The file servers: the data hosts of CWSYS when UserTPHost is set in
// FILESRV, else FILESRV's own list; MaxSize outside 10..500 MiB becomes 10.
FileServerList ReadFileServerList(const std::string& configuration_file);

}  // namespace orbe

#endif  // ORBE_ENV_START_SETTINGS_H_
