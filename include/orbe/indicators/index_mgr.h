// The indicator catalogue behind IIndexMgr, its observer and its exports.
// The virtual operations keep the slot order a host or component compiled
// against the interface relies on. docs/indicators.md describes the files.
#ifndef ORBE_INDICATORS_INDEX_MGR_H_
#define ORBE_INDICATORS_INDEX_MGR_H_

#include <map>
#include <string>
#include <vector>

#include "orbe/indicators/index_base.h"
#include "orbe/platform/types.h"

struct vtParam;  // one value: orbe/indicators/index_calc.h

// Told about load progress (on the loading thread) and about changes of the
// user indicators.
class INotifyIndexMgr {
 public:
  virtual ~INotifyIndexMgr() = default;
  virtual void ReloadedIndexNotify() = 0;
  // percent runs 0..100 within the stage that ends at stageEnd overall.
  virtual void LoadProcessNotify(float stageEnd, float percent) = 0;
};

class IIndexMgr {
 public:
  enum UNIT_TYPE : std::int32_t {
    UNIT_NONE = 0,
    UNIT_MONEY = 1,    // 元 百元 千元 万元 百万元 千万元 亿元
    UNIT_SHARES = 2,   // 股 百股 千股 万股 百万股 千万股 亿股
    UNIT_PERCENT = 3,  // %
  };
  enum CODE_TYPE : std::int32_t {
    CODE_INNER = 0,    // inner codes
    CODE_REQUEST = 1,  // security codes as the screening request carries them
    CODE_STOCK = 2,    // stock codes
  };

  virtual ~IIndexMgr() = default;
  // 1 on success. Loads nothing into a catalogue that is not empty.
  virtual int LoadIndexes(const CString& hqFile, const CString& sysFile, const CString& usrFile) = 0;
  virtual void ClearIndexes() = 0;
  virtual int ReloadIndexes(const CString& hqFile, const CString& sysFile, const CString& usrFile) = 0;
  virtual int ReloadIndexes() = 0;
  // Every non-user indicator the user indicator depends on, depth first.
  virtual int GetBaseIndexes(UsrIndex* usr, std::vector<IndexBase*>& out) = 0;
  virtual int GetBaseIndexesByName(const CString& name, std::vector<IndexBase*>& out) = 0;
  virtual int CalcUsrIndexValue(UsrIndex* usr, std::map<std::string, vtParam>& values, vtParam& result,
                                CString& err) = 0;
  virtual int CalcUsrIndexValueByName(const CString& name, std::map<std::string, vtParam>& values,
                                      vtParam& result, CString& err) = 0;
  virtual IndexBase* FindIndex(const CString& name) = 0;
  virtual int DeleteUsrIndex(UsrIndex* usr, CString& err) = 0;
  virtual int DeleteIndexByName(const CString& name, CString& err) = 0;
  virtual int TestUsrScript(const std::vector<std::string>& refnames, const std::string& codefile,
                            CString& err) = 0;
  virtual UsrIndex* SaveUsrIndex(const CString& name, const CString& info, int datatype,
                                 const std::vector<std::string>& refnames, const std::string& codefile,
                                 CString& err) = 0;
  virtual CString GetScriptDir() = 0;
  // Returns the previous observer.
  virtual INotifyIndexMgr* SetNotify(INotifyIndexMgr* notify) = 0;
  // A copy of the list; the catalogue keeps ownership.
  virtual std::vector<IndexBase*> GetAllIndexes() = 0;
};

// The window message the load dialog's worker posts when the load is done.
constexpr UINT WM_INDEX_LOAD_DONE = 1025;

// Undecorated, as a host looks them up by name.
extern "C" {
IIndexMgr* CreateIndexMgrInstance();
void DeleteIndexMgrInstance(IIndexMgr* mgr);
// Loads the catalogue on a worker thread behind a modal progress dialog;
// true when the load succeeded.
bool ProcessLoadIndex(IIndexMgr* mgr, const char* hqFile, const char* sysFile, const char* usrFile);
}

#endif  // ORBE_INDICATORS_INDEX_MGR_H_
