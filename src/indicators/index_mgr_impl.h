// The catalogue behind IIndexMgr: owns its indicators in load order and
// finds them by name through an index kept beside the list.
#ifndef ORBE_INDICATORS_INDEX_MGR_IMPL_H_
#define ORBE_INDICATORS_INDEX_MGR_IMPL_H_

#include <atomic>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "orbe/indicators/index_mgr.h"

class IndexMgr final : public IIndexMgr {
 public:
  IndexMgr() = default;
  ~IndexMgr() override;
  IndexMgr(const IndexMgr&) = delete;
  IndexMgr& operator=(const IndexMgr&) = delete;

  int LoadIndexes(const CString& hqFile, const CString& sysFile, const CString& usrFile) override;
  void ClearIndexes() override;
  int ReloadIndexes(const CString& hqFile, const CString& sysFile, const CString& usrFile) override;
  int ReloadIndexes() override;
  int GetBaseIndexes(UsrIndex* usr, std::vector<IndexBase*>& out) override;
  int GetBaseIndexesByName(const CString& name, std::vector<IndexBase*>& out) override;
  int CalcUsrIndexValue(UsrIndex* usr, std::map<std::string, vtParam>& values, vtParam& result,
                        CString& err) override;
  int CalcUsrIndexValueByName(const CString& name, std::map<std::string, vtParam>& values, vtParam& result,
                              CString& err) override;
  IndexBase* FindIndex(const CString& name) override;
  int DeleteUsrIndex(UsrIndex* usr, CString& err) override;
  int DeleteIndexByName(const CString& name, CString& err) override;
  int TestUsrScript(const std::vector<std::string>& refnames, const std::string& codefile,
                    CString& err) override;
  UsrIndex* SaveUsrIndex(const CString& name, const CString& info, int datatype,
                         const std::vector<std::string>& refnames, const std::string& codefile,
                         CString& err) override;
  CString GetScriptDir() override;
  INotifyIndexMgr* SetNotify(INotifyIndexMgr* notify) override;
  std::vector<IndexBase*> GetAllIndexes() override;

 private:
  class LoadSink;

  // False when the name is taken; the indicator is then destroyed.
  bool Append(std::unique_ptr<IndexBase> index);
  std::unique_ptr<IndexBase> TakeOut(const IndexBase* index);
  UsrIndex* FindUsrIndex(const CString& name);
  bool IsReferenced(const IndexBase* index) const;
  // Points every reference to `from` at `to` instead.
  void Repoint(const IndexBase* from, IndexBase* to);

  bool LoadUsrFile(LoadSink& sink);
  bool ResolveUsrIndexes();
  bool ResolveRefs(UsrIndex& usr);
  void RewriteUsrFile() const;
  void ReportProgress(float stage_end, float percent) const;
  void NotifyReloaded() const;

  std::vector<std::unique_ptr<IndexBase>> indexes_;
  std::unordered_map<std::string, IndexBase*> by_name_;
  std::string script_path_;
  // Set by the load dialog's thread, read by its worker.
  std::atomic<INotifyIndexMgr*> notify_{nullptr};
  std::string hq_file_;
  std::string sys_file_;
  std::string usr_file_;
};

#endif  // ORBE_INDICATORS_INDEX_MGR_IMPL_H_
