// Creating, replacing, deleting and evaluating user indicators, and the
// rewrite of the user file that follows every change.
#include <algorithm>

#include "indicators/index_files.h"
#include "indicators/index_graph.h"
#include "indicators/index_mgr_impl.h"

namespace {

constexpr const char* kReferencedText = "指标被引用,不能删除";
constexpr const char* kNotUsrDeleteText = "非用户指标，不能删除";
constexpr const char* kNotUsrSaveText = "不能修改非用户指标";
constexpr const char* kNoRefsText = "请选择待计算指标";
constexpr const char* kUndefinedRefText = "引用未定义的指标";
constexpr const char* kCycleText = "指标互相引用";

}  // namespace

int IndexMgr::DeleteUsrIndex(UsrIndex* usr, CString& err) {
  if (usr == nullptr) return 0;
  if (IsReferenced(usr)) {
    err = kReferencedText;
    return 0;
  }
  // A pointer this catalogue does not hold is not destroyed here.
  if (TakeOut(usr) == nullptr) return 1;
  RewriteUsrFile();
  NotifyReloaded();
  return 1;
}

int IndexMgr::DeleteIndexByName(const CString& name, CString& err) {
  UsrIndex* usr = FindUsrIndex(name);
  if (usr == nullptr) {
    err = kNotUsrDeleteText;
    return 0;
  }
  return DeleteUsrIndex(usr, err);
}

int IndexMgr::TestUsrScript(const std::vector<std::string>& refnames, const std::string& codefile,
                            CString& err) {
  if (refnames.empty()) {
    err = kNoRefsText;
    return 0;
  }
  std::vector<int> datatypes;
  for (const std::string& name : refnames) {
    const IndexBase* ref = FindIndex(name);
    if (ref == nullptr) {
      err = kUndefinedRefText;
      return 0;
    }
    datatypes.push_back(ref->datatype);
  }
  return orbe::TestUsrScriptFile(GetScriptDir(), codefile, datatypes, err) ? 1 : 0;
}

UsrIndex* IndexMgr::SaveUsrIndex(const CString& name, const CString& info, int datatype,
                                 const std::vector<std::string>& refnames, const std::string& codefile,
                                 CString& err) {
  IndexBase* existing = FindIndex(name);
  if (existing != nullptr && existing->kind != INDEX_KIND_USR) {
    err = kNotUsrSaveText;
    return nullptr;
  }
  if (refnames.empty()) {
    err = kNoRefsText;
    return nullptr;
  }
  if (TestUsrScript(refnames, codefile, err) == 0) return nullptr;
  auto fresh = std::make_unique<UsrIndex>();
  fresh->datatype = datatype;
  fresh->name = name;
  fresh->info = info;
  fresh->codefile = codefile;
  fresh->refnames = refnames;
  CString import_err;  // not reported, as a load does not report it either
  if (!orbe::LoadUsrFunction(codefile, fresh->module, fresh->function, import_err)) return nullptr;

  UsrIndex* created = fresh.get();
  std::unique_ptr<IndexBase> old = TakeOut(existing);
  Append(std::move(fresh));
  // Indicators that read the old one read the new one from now on, so none
  // is left pointing at the destroyed object; a reference to its own name
  // becomes a cycle.
  Repoint(old.get(), created);
  ResolveRefs(*created);
  if (orbe::HasReferenceCycle(GetAllIndexes())) {
    const std::unique_ptr<IndexBase> refused = TakeOut(created);
    if (old != nullptr) {
      IndexBase* restored = old.get();
      Append(std::move(old));
      Repoint(created, restored);
    }
    err = kCycleText;
    return nullptr;
  }
  old.reset();
  orbe::DeriveUnitTypes(GetAllIndexes());
  RewriteUsrFile();
  NotifyReloaded();
  return created;
}

int IndexMgr::CalcUsrIndexValue(UsrIndex* usr, std::map<std::string, vtParam>& values, vtParam& result,
                                CString& err) {
  if (usr == nullptr || !usr->function || usr->refs.empty()) return 0;
  std::vector<vtParam> args;
  args.reserve(usr->refs.size());
  for (IndexBase* ref : usr->refs) {
    vtParam arg;
    if (ref->kind == INDEX_KIND_USR) {
      if (CalcUsrIndexValue(static_cast<UsrIndex*>(ref), values, arg, err) == 0) return 0;
    } else {
      const auto value = values.find(ref->name);
      if (value == values.end()) return 0;
      arg = value->second;
      arg.type = ref->datatype;  // converted by the indicator's type, not the value's
    }
    args.push_back(std::move(arg));
  }
  return orbe::CallUsrFunction(usr->function, args, usr->datatype, result, err) == orbe::ScriptCallResult::kValue
             ? 1
             : 0;
}

int IndexMgr::CalcUsrIndexValueByName(const CString& name, std::map<std::string, vtParam>& values,
                                      vtParam& result, CString& err) {
  UsrIndex* usr = FindUsrIndex(name);
  return usr != nullptr ? CalcUsrIndexValue(usr, values, result, err) : 0;
}

void IndexMgr::RewriteUsrFile() const {
  if (usr_file_.empty()) return;
  std::vector<const UsrIndex*> users;
  for (const auto& entry : indexes_) {
    if (entry->kind == INDEX_KIND_USR) users.push_back(static_cast<const UsrIndex*>(entry.get()));
  }
  orbe::WriteUsrIndexFile(usr_file_, script_path_, users);
}
