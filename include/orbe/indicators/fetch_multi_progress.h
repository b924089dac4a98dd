// One screening: the rows of a scheme resolved against the catalogue, the
// system indicators fetched in as few SQL requests as possible, the TQL
// indicators one by one, quote fields from the host's quote records, user
// indicators through Python, then conditions and the logical expression.
// The object is a small progress window (hidden when idle) that receives the
// asynchronous replies as messages and posts `doneMsg` to its owner at the end.
#ifndef ORBE_INDICATORS_FETCH_MULTI_PROGRESS_H_
#define ORBE_INDICATORS_FETCH_MULTI_PROGRESS_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "orbe/indicators/index_calc.h"
#include "orbe/indicators/index_mgr.h"
#include "orbe/indicators/index_scheme.h"
#include "orbe/platform/types.h"
#include "orbe/platform/window.h"

class IFetchData;
struct tagMemFieldInfo;
class OrbeClientSession;

// One scheme row resolved against the catalogue.
struct EntityParam {
  std::int32_t itemno = 0;                // the row's number in the scheme, from 1
  IndexBase* index = nullptr;             // the row's indicator (not owned)
  std::vector<std::string> params;        // one per base indicator
  std::vector<IndexBase*> bases;          // the non-user indicators the row needs
  std::string op;
  std::string value;
  std::string unit;
};

// One cell of the result table.
struct sg_cell {
  vtParam value;
  COLORREF color = 0xFFFFFF;  // 0x00BBGGRR
  std::string text;           // the display text (GBK)
};

// Row id -> column -> cell. Columns 0..2 are the row number, the security
// code and its short name; column k + 3 holds scheme row k.
using SgRow = std::map<int, sg_cell>;
using SgTable = std::map<int, SgRow>;
using CodeValues = std::map<std::string, vtParam>;

namespace orbe {

// The code translations a screening needs. Screening codes are company codes.
class ScreeningCodes {
 public:
  virtual ~ScreeningCodes() = default;
  virtual std::string CompanyOfInnerCode(const std::string& inner) const = 0;
  virtual std::string CompanyOfSecuCode(const std::string& secu) const = 0;
  virtual std::string SecuCodeOfCompany(const std::string& company) const = 0;
  virtual std::string AbbrOfCompany(const std::string& company) const = 0;
  virtual std::string InnerCodeOfSecuCode(const std::string& secu) const = 0;
};

// Over the reference tables of a session (null: every lookup is empty).
std::unique_ptr<ScreeningCodes> MakeSessionScreeningCodes(OrbeClientSession* session);

inline constexpr UINT kSqlReplyMessage = 0x401;
inline constexpr UINT kTqlReplyMessage = 0x402;
// The service function that answers query-language indicators.
inline constexpr const char* kDataBrowseFunction = "KVX_DataBrowse";
inline constexpr std::size_t kCodeChunkLength = 3800;
inline constexpr int kQuoteRecordSize = 104;
inline constexpr int kQuoteRecordCode = 0x68;
// The encoded code-list option of one statement stays below this size.
inline constexpr std::size_t kMaxOptionBuffer = 8000;

}  // namespace orbe

class CFetchMultiProgress : public CWnd {
 public:
  CFetchMultiProgress(IIndexMgr* mgr, HWND owner, UINT doneMsg);
  ~CFetchMultiProgress() override;

  bool FetchData(const IndexScheme& scheme, const std::string& codes);
  bool ReFetchAndCalcData();
  bool GetHide() const { return hide_; }
  bool IsBusy() const { return busy_; }
  int GetTotal() const { return total_; }
  int GetProgress() const { return progress_; }
  void SetProgress(int pos, bool hide);

  // The filtered table of the last screening (every row without an expression).
  const SgTable& GetResultTable() const { return output_; }
  const std::vector<EntityParam>& GetEntityParams() const { return entities_; }
  const std::vector<CodeValues>& GetBaseResults() const { return results_; }
  // Base sequence numbers per SQL statement, and of the TQL indicators.
  const std::vector<std::vector<int>>& GetSqlGroups() const { return groups_; }
  const std::vector<int>& GetTqlList() const { return tqls_; }
  // Replaces the translations (default: those of the global main session).
  void SetScreeningCodes(std::unique_ptr<orbe::ScreeningCodes> codes);

  static bool GetAllCondition(IIndexMgr* mgr, const IndexScheme& scheme, std::vector<EntityParam>& out);
  static IndexBase* GetNonUsrIndexInEntityParams(const std::vector<EntityParam>& params, int seq, int& entity,
                                                 int& base);
  static std::string CmpCodesToInnerCodes(const orbe::ScreeningCodes& book, const std::string& codes);
  static std::string CmpCodesToStockCodes(const orbe::ScreeningCodes& book, const std::string& codes);
  static CodeValues CalcUsrIndex(IIndexMgr* mgr, const std::vector<EntityParam>& params,
                                 const std::vector<CodeValues>& results, int entity, int firstSeq, int count);
  // 1 and the cell when present, else 0.
  static int GetCell(int row, int col, const SgTable& table, sg_cell& cell);
  // Chunks of about 3800 characters, each but the last ending at a comma.
  static std::vector<std::string> SplitCodes(const std::string& codes);

 protected:
  int OnCreate() override;
  void OnDestroy() override;
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void OnAsynReceiveSQLData(WPARAM status, LPARAM handle);
  void OnAsynReceiveTQLData(WPARAM status, LPARAM handle);

  void GroupIndex();
  std::string GenSql(const std::vector<int>& group, BYTE& tag) const;
  std::string GenTQLOption(int tqlIndex) const;
  int GetGroupSysIndexsCodeType(const std::vector<int>& group) const;
  bool SendSqlGroup();
  void SendTql();
  // True when the query-language reply for `option` was taken from the reply
  // cache (the load posts its completion); otherwise notes where to save it.
  bool LoadTqlFromCache(const std::string& option);
  void SaveTqlToCache(IFetchData* reply);
  // The time stamp of a query-language function's values; 0 when unknown.
  std::int64_t TqlStamp(const std::string& function);
  void ReadSqlReply(IFetchData* reply);
  std::vector<std::string> RecordCodes(IFetchData& reply, const tagMemFieldInfo& keyField, int keytype,
                                       int records) const;
  void ReadTqlReply(IFetchData* reply);
  // Next chunk, or chunk 0 of the next item; false after the last item.
  bool AdvanceChunk(int& item, int itemCount);
  void AfterSqlStage();
  void AfterTqlStage();
  void Finish(bool compute);
  void FetchMemData();
  void CalcData();
  void CalcLogic();
  std::string ParamOf(int seq) const;
  const orbe::ScreeningCodes& Codes() const;
  // The current chunk in the code form of a CODE_TYPE.
  const std::string& ConvertedChunk(int codeType) const;

  IIndexMgr* mgr_;
  HWND owner_;
  UINT done_msg_;
  bool busy_ = false;
  bool hide_ = true;
  bool use_logic_ = false;
  int progress_ = 0;
  int total_ = 0;

  std::vector<std::string> chunks_;
  int chunk_ = -1;
  // Chunks by (chunk, code type), converted once per screening: every group
  // and query-language indicator sends the same chunks.
  mutable std::map<std::pair<int, int>, std::string> converted_chunks_;
  std::map<std::string, std::int64_t> tql_stamps_;  // per screening, by function
  std::string tql_save_key_;                        // where the reply in flight goes
  std::int64_t tql_save_stamp_ = 0;
  IFetchData* sql_handle_ = nullptr;
  IFetchData* tql_handle_ = nullptr;
  IFetchData* stamp_handle_ = nullptr;  // waiting calls only, no window
  OrbeClientSession* session_ = nullptr;
  std::unique_ptr<CPyLogicCalc> logic_;
  std::unique_ptr<orbe::ScreeningCodes> codes_;

  IndexScheme scheme_;
  std::vector<EntityParam> entities_;
  std::vector<CodeValues> results_;
  std::vector<std::vector<int>> groups_;
  int group_ = -1;
  std::vector<int> tqls_;
  int tql_ = -1;
  SgTable table_;
  SgTable output_;
};

#endif  // ORBE_INDICATORS_FETCH_MULTI_PROGRESS_H_
