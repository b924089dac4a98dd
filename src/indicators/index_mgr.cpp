// Loading, lookup and the reference graph of the catalogue.
#include <algorithm>

#include "indicators/index_files.h"
#include "indicators/index_graph.h"
#include "indicators/index_mgr_impl.h"
#include "indicators/script_dir.h"
#include "orbe/script/script_env.h"

namespace {

constexpr float kResolveStageEnd = 100;

}  // namespace

// Hands every indicator read to the catalogue and the progress to its observer.
class IndexMgr::LoadSink final : public orbe::IndexSink {
 public:
  explicit LoadSink(IndexMgr& mgr) : mgr_(mgr) {}
  bool Add(std::unique_ptr<IndexBase> index) override { return mgr_.Append(std::move(index)); }
  void Progress(float stage_end, float percent) override { mgr_.ReportProgress(stage_end, percent); }

 private:
  IndexMgr& mgr_;
};

IndexMgr::~IndexMgr() { ClearIndexes(); }

int IndexMgr::LoadIndexes(const CString& hqFile, const CString& sysFile, const CString& usrFile) {
  hq_file_ = hqFile;
  sys_file_ = sysFile;
  usr_file_ = usrFile;
  if (!indexes_.empty()) return 0;
  LoadSink sink(*this);
  const bool loaded = orbe::ReadHqIndexFile(hq_file_, sink) && orbe::ReadSysIndexFile(sys_file_, sink) &&
                      LoadUsrFile(sink) && ResolveUsrIndexes() && !orbe::HasReferenceCycle(GetAllIndexes());
  if (!loaded) {
    ClearIndexes();
    return 0;
  }
  orbe::DeriveUnitTypes(GetAllIndexes());
  ReportProgress(kResolveStageEnd, 100);
  return 1;
}

void IndexMgr::ClearIndexes() {
  by_name_.clear();
  indexes_.clear();
}

int IndexMgr::ReloadIndexes(const CString& hqFile, const CString& sysFile, const CString& usrFile) {
  // Copies: the arguments may be this catalogue's own stored paths.
  const std::string hq = hqFile, sys = sysFile, usr = usrFile;
  ClearIndexes();
  return LoadIndexes(hq, sys, usr);
}

int IndexMgr::ReloadIndexes() { return ReloadIndexes(hq_file_, sys_file_, usr_file_); }

int IndexMgr::GetBaseIndexes(UsrIndex* usr, std::vector<IndexBase*>& out) {
  orbe::AppendBaseIndexes(usr, out);
  return 1;
}

int IndexMgr::GetBaseIndexesByName(const CString& name, std::vector<IndexBase*>& out) {
  UsrIndex* usr = FindUsrIndex(name);
  return usr != nullptr ? GetBaseIndexes(usr, out) : 0;
}

IndexBase* IndexMgr::FindIndex(const CString& name) {
  const auto found = by_name_.find(name);
  return found != by_name_.end() ? found->second : nullptr;
}

CString IndexMgr::GetScriptDir() { return orbe::ComposeScriptDir(usr_file_, script_path_); }

INotifyIndexMgr* IndexMgr::SetNotify(INotifyIndexMgr* notify) { return notify_.exchange(notify); }

std::vector<IndexBase*> IndexMgr::GetAllIndexes() {
  std::vector<IndexBase*> all;
  all.reserve(indexes_.size());
  for (const auto& index : indexes_) all.push_back(index.get());
  return all;
}

bool IndexMgr::Append(std::unique_ptr<IndexBase> index) {
  if (!by_name_.emplace(index->name, index.get()).second) return false;
  indexes_.push_back(std::move(index));
  return true;
}

std::unique_ptr<IndexBase> IndexMgr::TakeOut(const IndexBase* index) {
  const auto at =
      std::find_if(indexes_.begin(), indexes_.end(),
                   [index](const std::unique_ptr<IndexBase>& entry) { return entry.get() == index; });
  if (at == indexes_.end()) return nullptr;
  std::unique_ptr<IndexBase> taken = std::move(*at);
  indexes_.erase(at);
  by_name_.erase(taken->name);
  return taken;
}

UsrIndex* IndexMgr::FindUsrIndex(const CString& name) {
  IndexBase* index = FindIndex(name);
  return index != nullptr && index->kind == INDEX_KIND_USR ? static_cast<UsrIndex*>(index) : nullptr;
}

bool IndexMgr::IsReferenced(const IndexBase* index) const {
  return std::any_of(indexes_.begin(), indexes_.end(), [index](const std::unique_ptr<IndexBase>& entry) {
    if (entry->kind != INDEX_KIND_USR || entry.get() == index) return false;
    const auto& refs = static_cast<const UsrIndex&>(*entry).refs;
    return std::find(refs.begin(), refs.end(), index) != refs.end();
  });
}

void IndexMgr::Repoint(const IndexBase* from, IndexBase* to) {
  if (from == nullptr) return;
  for (const auto& entry : indexes_) {
    if (entry->kind != INDEX_KIND_USR) continue;
    for (IndexBase*& ref : static_cast<UsrIndex&>(*entry).refs) {
      if (ref == from) ref = to;
    }
  }
}

bool IndexMgr::LoadUsrFile(LoadSink& sink) {
  script_path_ = orbe::ReadUsrScriptPath(usr_file_);
  AddPyScriptPath(GetScriptDir());
  return orbe::ReadUsrIndexFile(usr_file_, sink);
}

bool IndexMgr::ResolveUsrIndexes() {
  const float count = static_cast<float>(indexes_.size());
  float number = 0;
  for (const auto& entry : indexes_) {
    ReportProgress(kResolveStageEnd, ++number / count * 100.0f);
    if (entry->kind != INDEX_KIND_USR) continue;
    auto& usr = static_cast<UsrIndex&>(*entry);
    if (!ResolveRefs(usr)) return false;
    CString err;  // the text is dropped: a load reports only failure
    if (!orbe::LoadUsrFunction(usr.codefile, usr.module, usr.function, err)) return false;
  }
  return true;
}

bool IndexMgr::ResolveRefs(UsrIndex& usr) {
  usr.refs.clear();
  for (const std::string& name : usr.refnames) {
    IndexBase* ref = FindIndex(name);
    if (ref == nullptr) return false;
    usr.refs.push_back(ref);
  }
  return true;
}

void IndexMgr::ReportProgress(float stage_end, float percent) const {
  if (INotifyIndexMgr* notify = notify_.load()) notify->LoadProcessNotify(stage_end, percent);
}

void IndexMgr::NotifyReloaded() const {
  if (INotifyIndexMgr* notify = notify_.load()) notify->ReloadedIndexNotify();
}
