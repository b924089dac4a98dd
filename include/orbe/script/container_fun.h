// IContainerFun: the data and host-service operations that the script object
// reaches on its container, together with the container-side state they keep
// (requests in flight, SQL options, the exchange buffer, the synchronous
// handles, the timer mark, debug mode, the object store). A container window
// derives from it, implements the few hooks at the top and routes its window
// messages to HandleScriptMessage; everything else is here.
//
// Every operation runs on the window's thread with the interpreter held (the
// script object calls them from inside a script function).
#ifndef ORBE_SCRIPT_CONTAINER_FUN_H_
#define ORBE_SCRIPT_CONTAINER_FUN_H_

#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "orbe/platform/types.h"
#include "orbe/script/script_ref.h"
#include "orbe/script/subscriptions.h"

class CKVXContainer;
class OrbeClientSession;

namespace orbe {
struct ContainerData;
}  // namespace orbe

// Receives what a script sends with SendMessage and answers what it asks with
// GetMessage: the owner of the container (a pop-up dialog, the host).
class IF10MessageNotify {
 public:
  virtual ~IF10MessageNotify() = default;
  virtual void OnContainerMessage(const std::string& first, const std::string& second, const std::string& name,
                                  const std::string& value) = 0;
  virtual std::string OnContainerQuery(const std::string& first, const std::string& second,
                                       const std::string& name, const std::string& value) = 0;
};

// Private window messages of a script container.
inline constexpr UINT kContainerReplyMessage = 0x1110;         // status, IFetchData*
inline constexpr UINT kContainerFileMessage = 0x1111;          // progress or status, 0 or 1 (end)
inline constexpr UINT kContainerTransferMessage = 0x1113;      // transfer id, progress or status
inline constexpr UINT kContainerPassThroughMessage = 0x1114;   // status
inline constexpr UINT kContainerPushMessage = 0x1115;          // pushed messages waiting
inline constexpr UINT kContainerRetireMessage = 0x1116;        // request id (the container's own)
inline constexpr std::uintptr_t kContainerTimerId = 5000;

// The exchange buffer: an RPC request being built, or a pushed message being read.
inline constexpr std::uint32_t kExchangeBufferSize = 10240;

// A day bar of KVX_GetStockDayData: date yyyymmdd, open, high, low, close,
// volume, amount.
using ScriptDayBar = std::tuple<int, double, double, double, double, double, double>;

// Subscriptions go to the receiver of the object that derives from this too
// (the window, an ISubscribeMessageCallBack); an object without one
// cannot subscribe.
class IContainerFun {
 public:
  IContainerFun();
  virtual ~IContainerFun();
  IContainerFun(const IContainerFun&) = delete;
  IContainerFun& operator=(const IContainerFun&) = delete;

  // --- What the owning window provides ---

  // The window that receives the container's replies, transfers and timer.
  virtual HWND ContainerWindow() const = 0;
  // The widget side of the same window (the widget methods' target); may be null.
  virtual CKVXContainer* ContainerWidgets() = 0;
  // Calls the loaded script's function `name` with a fresh script object and
  // the texts; false when there is no such function or it failed (the window
  // reports the error as its debug mode says).
  virtual bool CallScript(const std::string& name, const std::vector<std::string>& args) = 0;

  // Dialogs and scripts that belong to the window. Without a window that
  // offers them they do nothing.
  virtual void PopModalDlg(const std::string& title, int width, int height, const std::string& script,
                           const std::string& argument);
  virtual void ShowWaitDlg(int x, int y);
  virtual void HideWaitDlg();
  virtual void ContainerDlgRunScript(const std::string& title, const std::string& script,
                                     const std::string& argument);
  virtual void ShowContainerDlg(int x, int y, int width, int height);
  virtual void HideContainerDlg();
  virtual void GlobalDlgRunScript(const std::string& title, const std::string& script,
                                  const std::string& argument);
  virtual void ShowGlobalDlg(int x, int y, int width, int height);
  virtual void HideGlobalDlg();
  virtual void RunOtherScript(const std::string& script, const std::string& argument);

  // --- What the window calls ---

  // Messages kContainerReplyMessage .. kContainerRetireMessage and the timer
  // tick (WM_TIMER, kContainerTimerId); true when the message was one of them.
  bool HandleScriptMessage(UINT message, WPARAM wparam, LPARAM lparam);
  // Requests of this container that ended without their complete reply.
  int FailedReplies() const;
  // Replies still on their way are dropped when they arrive (a new script).
  void CancelRequests();
  // The state a newly loaded script starts from: requests cancelled, the main
  // session, no timer, no subscriptions.
  void PrepareForLoad();
  void SetMessageTarget(IF10MessageNotify* target) { message_target_ = target; }
  IF10MessageNotify* GetMessageTarget() const { return message_target_; }
  bool DebugMode() const { return debug_mode_; }
  void SetDebugModeFlag(bool on) { debug_mode_ = on; }
  bool UnInitContainerEnabled() const { return uninit_enabled_; }
  void ClearUnInitContainer() { uninit_enabled_ = false; }
  bool KeyDownMessagesEnabled() const { return key_down_enabled_; }
  bool KeyboardShortcutEnabled() const { return keyboard_shortcut_; }
  bool TimerRegistered() const;
  // The session the container works on: the main one, or the sub one after ChangeHost(1).
  OrbeClientSession* Session() const;
  bool UsesMainSession() const { return main_session_; }
  void SelectMainSession() { main_session_ = true; }
  // The container's small id (what GetPtrAsLong gives); 0 after destruction.
  int ContainerId() const { return container_id_; }
  // Requests in flight, cancelled or not.
  std::size_t PendingRequestCount() const;
  // Queues a pushed message for the window thread (any thread); the window
  // receives kContainerPushMessage and the script "OnTPPushMessage".
  void QueuePushMessage(const unsigned char* data, std::uint32_t length);
  // Removes every subscription of the container's receiver; after it returns
  // no engine thread is inside the receiver any more.
  void UnsubscribeAll();
  // Makes the handles a window holds from its creation on: per session (main,
  // then sub, when it exists) a synchronous SQL handle and a file-fetch handle
  // with the session's cache directory. The methods make them on first use
  // otherwise, and again for a session that was replaced.
  void MakeSessionHandles();

  // --- Utilities and host services ---
  std::string Version();
  std::string DisplayForm(const std::string& text);  // _F
  std::string StoredForm(const std::string& text);   // _J
  int GetPtrAsLong();
  std::string Platform();
  int IsFileExist(const std::string& pattern);
  int AddText2Clipboard(const std::string& text);
  std::string GetTextFromClipboard();
  int SaveObject(const std::string& name, _object* object);
  int FindObject(const std::string& name);
  orbe::ScriptRef PickObject(const std::string& name);
  int FreezeSet(const std::string& group, const std::string& key, const std::string& value);
  std::tuple<int, std::string> FreezeGet(const std::string& group, const std::string& key);
  int FreezeDel(const std::string& group, const std::string& key);
  std::tuple<int, int> GetDesktopSize();
  int GetScrollBarType();
  void SetScrollBarType(int type);
  std::string ShowspecialDlg(int kind, const std::string& title, const std::string& text);
  std::tuple<std::string, int> StrLeftTrim(const std::string& text, int bytes);
  void SetCommInfoBlock(int first, int second, int third);
  int ChangeHost(int host);
  int IsActiveWnd();
  void SetDebugMode(int on);
  void DebugMessage(const std::string& text);
  int ShowMessageBox(const std::string& text, int type);  // MessageBox
  void DlgShowText(const std::string& title, const std::string& text, int width, int height);
  void KVX_DownDayFile(const std::string& code, int market);
  std::vector<ScriptDayBar> KVX_GetStockDayData(const std::string& code, int market, int first_date,
                                                int last_date);
  void GotoHQBJ();
  void GotoF5Wnd(const std::string& code);
  void GotoF5Wnd1(const std::string& code, int market);
  double GetStockData(const std::string& code, int market, int field);
  double GetStockData1(const std::string& code, int market, int offset);
  void Syn_FlushHQ(const std::string& code);
  void Asyn_FlushHQ(const std::string& code);
  void SendOwnerMessage(const std::string& first, const std::string& second, const std::string& name,
                        const std::string& value);  // SendMessage
  std::string GetOwnerMessage(const std::string& first, const std::string& second, const std::string& name,
                              const std::string& value);  // GetMessage
  void SetEnableKVXKeyBoardShortcut(int on);
  std::tuple<std::string, int> ShowKVXKVXKeyBoardGuy(const std::string& text, int x, int y, int width,
                                                     int height);
  std::tuple<std::string, int> ShowKVXKVXKeyBoardGuy2(const std::string& text, int x, int y, int width,
                                                      int height, int mode);
  void ShowKVXInfoDlg(int kind, int market, const std::string& code, const std::string& title,
                      const std::string& text, const std::string& extra);
  std::string KVX_Stock_Get_KVXBlock(const std::string& code);
  int KVX_Stock_Get_Decimal(const std::string& code, int market);
  int KVX_Stock_Get_HSType(const std::string& code, int market);
  orbe::ScriptRef KVX_Stock_Get_Ext(const std::string& code, int market);
  int KVX_OpenURL(const std::string& url);
  std::tuple<std::string, std::string, std::string, std::string, std::string, std::string, std::string,
             std::string>
  GetKVXLoginInfo();
  std::tuple<std::string, std::string, std::string, std::string> GetKVXJYInfo();
  std::string PrivatePath();       // GetPrivPath
  std::string CommonConfigPath();  // GetCommConfigPath
  std::string GetCachePath();
  int GetConnectStat();
  int KVXMessageBox(const std::string& text, const std::string& caption, int type);
  std::tuple<std::string, std::string> OpenCFileDialog(const std::string& extensions);
  std::tuple<std::string, std::string> SaveCFileDialog(const std::string& extensions,
                                                       const std::string& file_name);
  std::string BrowseForFolder();
  void RegisterTimer(int seconds);
  void UnRegisterTimer();
  void EnableUnInitContainer(int on);
  void EnableKeyDownMsg(int on);

  // --- SQL requests ---
  int FetchData(const std::string& callback, const std::string& sql, int option_type,
                const std::string& option_text);
  int FetchData_Sec(const std::string& callback, const std::string& secured, const std::string& secured_tail,
                    int option_type, const std::string& option_text);
  int FetchFile(const std::string& callback, const std::string& name);
  int GetSqlRecordRowCount(int handle);
  std::string GetSqlRecordAsString(int handle, int record, const std::string& field);
  int GetSqlRecordAsInt(int handle, int record, const std::string& field);
  double GetSqlRecordAsDouble(int handle, int record, const std::string& field);
  std::int64_t GetSqlRecordAsInt64(int handle, int record, const std::string& field);
  int FetchStatData(const std::string& callback, const std::string& sql);
  int FetchStatData_Sec(const std::string& callback, const std::string& secured, const std::string& secured_tail);
  int Syn_FetchStatData(const std::string& sql);
  int Syn_FetchStatData_Sec(const std::string& secured, const std::string& secured_tail);
  double GetStatResultAsDouble(int handle);
  int GetStatResultAsInt(int handle);
  std::string GetStatResultAsStr(int handle);
  int DeleteBySql(const std::string& callback, const std::string& sql, const std::string& secured);
  std::tuple<int, int> GetDeleteCount(int handle);
  int UpdateBySql(const std::string& callback, const std::string& sql, const std::string& secured);
  std::tuple<int, int> GetUpdateCount(int handle);
  int InsertBySql(const std::string& callback, const std::string& sql, const std::string& secured);
  std::tuple<int, int> GetInsertResult(int handle);

  // --- Time stamps, table flush, options ---
  std::int64_t Syn_GetTimestamp(int table);
  int IncTimestamp(const std::string& callback, int table, const std::string& table_name);
  int Syn_IncTimestamp(int table, const std::string& table_name);
  std::int64_t GetIncTimestampResultAsInt64(int handle);
  int FlushTable(const std::string& callback, int table, const std::string& table_name);
  int GetFlushTableResultAsInt(int handle);
  void AddSqlOption(int type, const std::string& text);
  void ClearSqlOption();

  // --- TQL calls and cache ---
  int CallTQL(const std::string& callback, const std::string& name, const std::string& parameters);
  int ReloadTQL(const std::string& callback, const std::string& name, const std::string& unused);
  int Syn_CallTQL(const std::string& name, const std::string& parameters);
  int Syn_ReloadTQL(const std::string& name, const std::string& unused);
  int FetchTQLCache(const std::string& callback, const std::string& key);
  void SaveTQLCache(int handle, const std::string& name, const std::string& parameters, std::int64_t stamp);
  std::int64_t GetTQLCacheTimeStamp(const std::string& name, const std::string& parameters);
  int GetTQLResult(int handle);

  // --- Reply, RPC request and push buffers ---
  int SeekTQLRpyBufPos(int handle, int position);
  int GetTQLRpyBufPos(int handle);
  int GetTQLRpyLength(int handle);
  std::string PopRpyBufAsString(int handle, int length);
  int PopRpyBufAsChar(int handle);
  int PopRpyBufAsShort(int handle);
  int PopRpyBufAsInt(int handle);
  std::int64_t PopRpyBufAsInt64(int handle);
  float PopRpyBufAsFloat(int handle);
  double PopRpyBufAsDouble(int handle);
  int SeekRPCCallReqPos(int position);
  int GetRPCCallReqPos();
  int AddRPCCallReqAsString(const std::string& text, int width);
  int AddRPCCallReqAsChar(char value);
  int AddRPCCallReqAsShort(int value);
  int AddRPCCallReqAsInt(int value);
  int AddRPCCallReqAsInt64(std::int64_t value);
  int AddRPCCallReqAsFloat(float value);
  int AddRPCCallReqAsDouble(double value);
  int CallRPC(const std::string& callback, const std::string& function);
  int Syn_CallRPC(const std::string& function);
  int SeekPushBufPos(int position);
  int GetPushBufPos();
  int GetPushBufLength();
  std::string PopPushBufAsString(int length);
  int PopPushBufAsChar();
  int PopPushBufAsShort();
  int PopPushBufAsInt();
  std::int64_t PopPushBufAsInt64();
  float PopPushBufAsFloat();
  double PopPushBufAsDouble();

  // --- Lookups that are not a plain CwFileUtil call ---
  std::string GetSecumainAbbr_HQ(const std::string& code, int kind);
  std::string GetStockBlock(int classification, const std::string& industry, int with_sub);
  std::string GetConstList(const std::string& const_class);
  std::string GetConstName(const std::string& const_class, const std::string& code, int which);
  std::string GetCmpCodeByHYAndSubHY(int classification, const std::string& industry);
  std::string GetSubHyCode(int classification, const std::string& parent);
  std::string GetHyCode(int classification);

  // --- Messages, file transfer, pass-through ---
  int SubscribeMessage(int id);
  int UnsubscribeMessage(int id);
  int SendSubscribeMessage(int id, const std::string& first, const std::string& second);
  void UDM_SetUpLoadPath(const std::string& directory);
  int UDM_UploadFile(const std::string& local_path);
  void UDM_SetDownLoadPath(const std::string& directory);
  int UDM_DownloadFile(const std::string& local_path);
  int UDM_DeleteFile(const std::string& remote_path);
  void UDM_CancelSession(int id);
  std::string UDM_GetErrorInfo(int id);
  int SendTPOriginalRequest(const std::string& first, const std::string& second);
  std::string GetTPOriginalResult();

 protected:
  // The exchange buffer and its positions, for tests of the window's push path.
  orbe::ContainerData& Data() { return *data_; }

 private:
  friend struct orbe::ContainerData;

  std::unique_ptr<orbe::ContainerData> data_;
  IF10MessageNotify* message_target_ = nullptr;
  int container_id_ = 0;
  bool main_session_ = true;
  bool debug_mode_ = false;
  bool uninit_enabled_ = false;
  bool key_down_enabled_ = false;
  bool keyboard_shortcut_ = true;
};

#endif  // ORBE_SCRIPT_CONTAINER_FUN_H_
