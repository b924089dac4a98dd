// Start and tear-down of the shared data environment.
#include <memory>
#include <optional>

#include "dataservice/host_records.h"
#include "dataservice/host_test.h"
#include "dataservice/updown_file_mgr.h"
#include "env/cache_directories.h"
#include "env/global_proxy.h"
#include "env/module_state.h"
#include "env/report_period.h"
#include "env/start_settings.h"
#include "orbe/dictionary/reference_loaders.h"
#include "orbe/env.h"
#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"
#include "orbe/script/f10_fun.h"
#include "orbe/script/freeze_store.h"

namespace orbe {
namespace {

constexpr int kEngineOption = 8;
constexpr DWORD kConnectPollMs = 100;

void HandGlobalProxyToEngine(const std::optional<CWPROXYINFO>& proxy) {
  const EngineEntryPoints& engine = Siblings().Engine();
  if (!proxy || engine.SetGlobalProxy == nullptr) return;
  CWPROXYINFO copy = *proxy;
  engine.SetGlobalProxy(&copy);
}

void SetUpCacheDirectories(ModuleState& state, const std::string& cache_root) {
  const CacheDirectories dirs = CacheDirectoriesFor(cache_root);
  if (!dirs.root.empty()) EnsureDirectory(dirs.root);
  state.sub_cache_directory = dirs.sub;
  state.main_cache_directory = dirs.main;
  EnsureDirectory(dirs.main);
}

void RunHostTest(const std::string& configuration_file, int seconds, const std::optional<CWPROXYINFO>& proxy) {
  const EngineEntryPoints& engine = Siblings().Engine();
  CHostTest test(configuration_file, PrivateEngineEntryPoints{engine.CreateCwDataEngin, engine.DeleteCwDataEngin});
  test.Start(seconds, proxy);
}

// The last finished report period by today's date. Computed from the date
// rather than from the stored period, so that a repeated start does not move
// the period back one step each time.
void FixReportPeriod() { State().cur_report_index = ReportIndexForDate(Today()) - 1; }

bool CacheComponentPresent() {
  const DllEntironment& siblings = Siblings();
  return siblings.HasCacheLibrary() && siblings.Cache().CreateTCwCacheInstance != nullptr &&
         siblings.Cache().DeleteTCwCacheInstance != nullptr;
}

BOOL StartSubSession(ModuleState& state, ICwDataEngin* engine, const StartSettings& settings,
                     int general_database_argument, CWnd* parent) {
  EnsureDirectory(state.sub_cache_directory);
  state.sub_session = std::make_unique<OrbeClientSession>(
      engine, Siblings().Cache(), state.sub_cache_directory, state.configuration_file);
  const int general_database = ReadSubGeneralDatabase(state.configuration_file, general_database_argument);
  CWHOSTINFO host = ReadHostRecord(state.configuration_file, kSubHostKeys, 0);
  state.sub_session->CreateSession(host, settings.alternative_sessions, settings.push);
  return state.sub_session->InitSession(general_database, parent) ? TRUE : FALSE;
}

// Ends the sessions while their engine is still there: requests in flight end
// through their handles, and the handles made on them find no session from
// then on instead of a freed one.
void EndSessions(ModuleState& state) {
  if (state.sub_session) state.sub_session->End();
  if (state.main_session) state.main_session->End();
}

void StartSessions(ModuleState& state, ICwDataEngin* engine, const StartSettings& settings,
                   int general_database_argument, CWnd* parent) {
  // Sessions left by a start whose initialisation failed are replaced, not
  // leaked.
  EndSessions(state);
  state.sub_session.reset();
  state.main_session.reset();
  orbe::ForgetTopicLoads();
  engine->SetConfigFile(state.configuration_file.c_str());
  state.main_session = std::make_unique<OrbeClientSession>(
      engine, Siblings().Cache(), state.main_cache_directory, state.configuration_file);
  state.main_session->CreateSession(settings.alternative_sessions, settings.push);
  engine->SetOption(kEngineOption);
  state.init_flag = state.main_session->InitSession(settings.general_database, parent) ? TRUE : FALSE;
  if (settings.sub_host) {
    // Both sessions must be up for the environment to be: a sub session
    // that starts does not hide a main session that failed.
    const BOOL sub_up = StartSubSession(state, engine, settings, general_database_argument, parent);
    state.init_flag = state.init_flag && sub_up ? TRUE : FALSE;
  }
  state.file_servers = ReadFileServerList(state.configuration_file);
  UpdownFileMgr& transfers = UpdownFileMgr::Instance();
  transfers.SetEngineSource(Siblings().Engine().GetCwDataEnginInstance);
  transfers.SetServers(state.file_servers.hosts, state.file_servers.primary);
  transfers.SetMaxFileSize(state.file_servers.max_file_bytes);
}

void WaitForConnection(const ModuleState& state, int time_out_seconds) {
  if (!state.main_session || state.main_session->GetSession() == nullptr) return;
  ICwRequestSession* session = state.main_session->GetSession();
  for (int polls_left = time_out_seconds * 10;; --polls_left) {
    if (session->GetConnectState() == kCwStateConnected || polls_left < 0) return;
    Sleep(kConnectPollMs);
  }
}

}  // namespace
}  // namespace orbe

unsigned int InitDataEngin(const std::string& cacheRoot, const std::string& configurationFile,
                           int generalDatabase, CWnd* parent) {
  using namespace orbe;
  ModuleState& state = State();
  state.configuration_file = configurationFile;
  const std::optional<CWPROXYINFO> proxy = ReadGlobalProxy(state.user_comm_file);
  HandGlobalProxyToEngine(proxy);
  const EngineEntryPoints& entry = Siblings().Engine();
  if (entry.SetTPPushClientNotify != nullptr && state.push_notify != nullptr) {
    entry.SetTPPushClientNotify(state.push_notify);
  }
  SetUpCacheDirectories(state, cacheRoot);
  const StartSettings settings = ReadStartSettings(configurationFile, generalDatabase);
  if (settings.host_test_seconds > 0) RunHostTest(configurationFile, settings.host_test_seconds, proxy);
  FixReportPeriod();
  if (!CacheComponentPresent()) return 0;

  CriticalSectionLock hold(state.lock);
  if (!state.init_flag && entry.GetCwDataEnginInstance != nullptr) {
    if (ICwDataEngin* engine = entry.GetCwDataEnginInstance()) {
      StartSessions(state, engine, settings, generalDatabase, parent);
    }
  }
  if (state.init_flag) ++state.init_count;
  WaitForConnection(state, settings.time_out_seconds);
  return static_cast<unsigned int>(state.init_flag);
}

void UnInitDataEngin() {
  using namespace orbe;
  ModuleState& state = State();
  CriticalSectionLock hold(state.lock);
  if (state.init_flag && state.init_count > 0) --state.init_count;
  const EngineEntryPoints& entry = Siblings().Engine();
  if (entry.SetTPPushClientNotify != nullptr) entry.SetTPPushClientNotify(nullptr);
  DestroyGlobalDlg();
  // What scripts froze is on disk from here on.
  FreezeStore::Module().Flush();
  if (state.main_session && state.main_session->GetSession() != nullptr) {
    const int host = state.main_session->GetSession()->GetHostIndex();
    WriteProfileString(state.configuration_file, "CWSYS", "PrimaryCWHost", Format("%d", host));
  }
  // Transfers end while the engine that carries them is still there.
  UpdownFileMgr::DeleteInstance();
  state.file_servers = FileServerList{};
  EndSessions(state);
  if (state.init_count == 0 && entry.GetCwDataEnginInstance != nullptr &&
      entry.DelCwDataEnginInstance != nullptr) {
    if (ICwDataEngin* engine = entry.GetCwDataEnginInstance()) {
      engine->Shutdown();
      entry.DelCwDataEnginInstance();
    }
    state.init_flag = FALSE;
  }
  state.main_session.reset();
  state.sub_session.reset();
  // The topic tables went with the main session: a new one loads them again.
  orbe::ForgetTopicLoads();
}

void ReloadDataEnginCfg() {}

int FetchMainTable(CWnd* parent) {
  using namespace orbe;
  ModuleState& state = State();
  CriticalSectionLock hold(state.lock);
  if (!state.main_session) return 0;
  const int main_database = ProfileInt(state.configuration_file, "CWSYS", "GeneralDB", 0);
  const bool main_up = state.main_session->InitSession(main_database, parent);
  if (!main_up || !state.sub_session) return main_up ? 1 : 0;
  const int sub_database = ProfileInt(state.configuration_file, "SUBCWSYS", "GeneralDB", 0);
  return state.sub_session->InitSession(sub_database, parent) ? 1 : 0;
}
