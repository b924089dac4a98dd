// The module's exported environment functions: undecorated names, as a host
// looks them up with dlsym. Strings cross as std::string by reference.
#ifndef ORBE_ENV_H_
#define ORBE_ENV_H_

#include <string>

#include "orbe/host/host_callbacks.h"
#include "protocol/cw_data_engin.h"
#include "orbe/platform/types.h"

class CWnd;
class OrbeClientSession;


// The host calls these by their plain names, some returning C++ strings; both
// sides are built with the same compiler, so the C linkage is only about names.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif
extern "C" {

// Starts the shared data environment: proxy, cache directories, host test,
// report period, sessions. Non-zero when the environment is up. A general
// database below 0 takes GeneralDB from the configuration file.
unsigned int InitDataEngin(const std::string& cacheRoot, const std::string& configurationFile,
                           int generalDatabase, CWnd* parent);
// Deletes the sessions; releases the engine when the last start is matched.
void UnInitDataEngin();
void ReloadDataEnginCfg();
// Initialises the main (then the sub) session with GeneralDB of its section.
int FetchMainTable(CWnd* parent);

void SetPrivPath(const std::string& path);
std::string GetPrivPath();
// The configuration file's folder without its trailing separator; "" when
// unset or when there is no separator after its first character.
std::string GetCommConfigPath();

// The callbacks' types: orbe/host/host_callbacks.h.
void RegisterCallBack(DataFuncProc dataFunc, SwitchFuncProc switchFunc, CallbackFuncProc callbackFunc);
DataFuncProc GetDataFunc();
SwitchFuncProc GetSwitchFunc();
CallbackFuncProc GetCallbackFunc();

OrbeClientSession* GetGlobalMainOrbeClientSession();
OrbeClientSession* GetGlobalSubOrbeClientSession();
ICwRequestSession* GetGlobalMainCwRequestSession();
ICwRequestSession* GetGlobalSub1CwRequestSession();

// Stores (a, b, c) as the info block of the main session when `main` is
// non-zero, else of the sub session.
void SetTPInfoBlock(unsigned char main, unsigned char a, unsigned char b, unsigned char c);
bool SetTPSessionCheckOP();
bool SetTPSessionUseSSO();

// Whether the embedded script environment started.
bool IsCBaseEnvInit();

// "2.31 PA   :yymmddhh", the version and the hour the module was built.
std::string GetThisMoudleVersion();

// The current report period: (year - 1980) * 4 + period, period 0 "一季",
// 1 "中期", 2 "三季", 3 "年度".
void SetCurReport(int year, int period);
// The period `back` steps before the current one (computed from today's date
// when none is set) as year text and period name.
void GetCurReport(std::string& year, std::string& period, int back);

void SetKVXCtrlScrollBarType(int type);
// Asks the caches to save their state (main, then sub).
void SaveCWCacheInfo();
// Runs the main cache's maintenance.
void DoCWCacheOption();

}  // extern "C"
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

#endif  // ORBE_ENV_H_
