// One screening: the rows of a scheme resolved against the catalogue, the
// system indicators fetched in as few SQL requests as possible, the TQL
// indicators one by one, quote fields from the host's quote records, user
// indicators through Python, then conditions and the logical expression.
// The object is a small progress window (hidden when idle) that receives the
// asynchronous replies as messages and posts `doneMsg` to its owner at the end.
#ifndef ORBE_INDICATORS_FETCH_MULTI_PROGRESS_H_
#define ORBE_INDICATORS_FETCH_MULTI_PROGRESS_H_

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "orbe/host/host_records.h"
#include "orbe/indicators/index_calc.h"
#include "orbe/indicators/index_mgr.h"
#include "orbe/indicators/index_scheme.h"
#include "orbe/platform/types.h"
#include "orbe/platform/window.h"

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
// The time stamp of a query-language function's values (ours: docs/screening.md).
inline constexpr UINT kStampReplyMessage = 0x403;
// The service function that answers query-language indicators.
inline constexpr const char* kDataBrowseFunction = "KVX_DataBrowse";
inline constexpr std::size_t kCodeChunkLength = 3800;
inline constexpr int kQuoteRecordSize = sizeof(Hq104);
inline constexpr int kQuoteRecordCode = kHostQuoteRecord;
// The encoded code-list option of one statement stays below this size.
inline constexpr std::size_t kMaxOptionBuffer = 8000;

struct FetchPlan;
class FetchRequests;

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
  // The status of the request that ended the last screening without its
  // complete reply (-1 lost, -2 timed out, 101.. the service's), 0 when every
  // reply came whole. Such a screening shows no rows.
  int GetFailedStatus() const { return failed_status_; }
  const std::vector<EntityParam>& GetEntityParams() const;
  const std::vector<CodeValues>& GetBaseResults() const { return results_; }
  // Base sequence numbers per SQL statement, and of the TQL indicators.
  const std::vector<std::vector<int>>& GetSqlGroups() const;
  const std::vector<int>& GetTqlList() const;
  // Replaces the translations (default: those of the global main session).
  void SetScreeningCodes(std::unique_ptr<orbe::ScreeningCodes> codes);

  static bool GetAllCondition(IIndexMgr* mgr, const IndexScheme& scheme, std::vector<EntityParam>& out);
  static IndexBase* GetNonUsrIndexInEntityParams(const std::vector<EntityParam>& params, int seq, int& entity,
                                                 int& base);
  // Company codes as inner codes or stock codes, over the reference tables of
  // the global main session; unknown codes are left out.
  static std::string CmpCodesToInnerCodes(const std::string& codes);
  static std::string CmpCodesToStockCodes(const std::string& codes);
  static CodeValues CalcUsrIndex(IIndexMgr* mgr, const std::vector<EntityParam>& params,
                                 const std::vector<CodeValues>& results, int entity, int firstSeq, int count);
  // 1 and the cell when present, else 0.
  static int GetCell(int row, int col, const SgTable& table, sg_cell& cell);
  // Chunks of about 3800 characters, each but the last ending at a comma.
  static std::vector<std::string> SplitCodes(const std::string& codes);
  // The value of quote indicator `hq` in a host quote record of
  // kQuoteRecordSize bytes, with its up/down mark. False when the field does
  // not lie inside the record (structoffset + structlength < 104) or its type
  // has no reading.
  static bool FillHQData(const HqIndex& hq, const unsigned char* record, vtParam& value);

 protected:
  int OnCreate() override;
  void OnDestroy() override;
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

  void OnAsynReceiveSQLData(WPARAM status, LPARAM handle);
  void OnAsynReceiveTQLData(WPARAM status, LPARAM handle);
  void OnAsynReceiveStamp(WPARAM status, LPARAM handle);

 private:
  // False when the group's statement cannot be built (nothing is sent).
  bool SendSqlGroup();
  void SendTql();
  // Next chunk, or chunk 0 of the next item; false after the last item.
  bool AdvanceChunk(int& item, int itemCount);
  void StartTqlStage();
  void Finish(bool compute);
  // A request of this screening ended without its complete reply: nothing
  // more is asked, no partial result is computed, and the user is told.
  void Abandon(const char* stage, int item, int status);
  void FetchMemData();
  void CalcData();
  const orbe::ScreeningCodes& Codes() const;
  int StageProgress(int done) const;

  IIndexMgr* mgr_;
  HWND owner_;
  UINT done_msg_;
  bool busy_ = false;
  bool hide_ = true;
  bool use_logic_ = false;
  int progress_ = 0;
  int total_ = 0;
  int failed_status_ = 0;

  std::unique_ptr<orbe::FetchPlan> plan_;          // never null
  std::unique_ptr<orbe::FetchRequests> requests_;  // null without a session
  OrbeClientSession* session_ = nullptr;
  std::unique_ptr<CPyLogicCalc> logic_;
  mutable std::unique_ptr<orbe::ScreeningCodes> codes_;
  int chunk_ = -1;
  int group_ = -1;
  int tql_ = -1;
  std::vector<CodeValues> results_;  // by base sequence number
  SgTable table_;
  SgTable output_;
};

#endif  // ORBE_INDICATORS_FETCH_MULTI_PROGRESS_H_
