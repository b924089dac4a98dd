#include "procedure_registry.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>

#include "procedure_data_browse.h"
#include "procedure_reference.h"

namespace orbe::server {
namespace {

struct ProcedureEntry {
  std::string_view name;
  const ReferenceProcedure* reference;  // null: the entry is code alone
  CallOutcome (*call)(const ProcedureEntry&, SqlConnection&, std::uint64_t generation, std::string_view parameters);
};

CallOutcome Reference(const ProcedureEntry& entry, SqlConnection& db, std::uint64_t generation,
                      std::string_view parameters) {
  return CallReference(*entry.reference, db, generation, parameters);
}

CallOutcome DataBrowse(const ProcedureEntry&, SqlConnection& db, std::uint64_t generation,
                       std::string_view parameters) {
  return CallDataBrowse(db, parameters, generation);
}

const std::array<ProcedureEntry, 6> kProcedures = {{
    {"sys_get_main_table_v2", &kMainTableProcedure, Reference},
    {"sys_get_gg_info_v2", &kGgInfoProcedure, Reference},
    {"sys_get_jj_info", &kJjInfoProcedure, Reference},
    {"sys_get_qh_info", &kQhInfoProcedure, Reference},
    {"sys_get_zq_info_v3", &kZqInfoProcedure, Reference},
    {"KVX_DataBrowse", nullptr, DataBrowse},
}};

// Reload counts, per procedure, for the life of the process.
std::array<std::atomic<std::uint64_t>, kProcedures.size()> reload_counts;

// Index into kProcedures, or kProcedures.size().
std::size_t FindProcedure(std::string_view name) {
  const auto found = std::find_if(kProcedures.begin(), kProcedures.end(),
                                  [name](const ProcedureEntry& entry) { return entry.name == name; });
  return static_cast<std::size_t>(found - kProcedures.begin());
}

}  // namespace

CallOutcome CallProcedure(SqlConnection& reader, const CallRequest& request) {
  const std::size_t index = FindProcedure(request.name);
  if (index == kProcedures.size()) return CallOutcome::Failure(CallStatus::kUnknownProcedure);
  const ProcedureEntry& entry = kProcedures[index];
  const SqlTransaction snapshot(reader, TransactionKind::kSnapshot);
  CallOutcome outcome = entry.call(entry, reader, reload_counts[index].load(), request.parameters);
  if (outcome.status == CallStatus::kSuccess && outcome.result.size() > kMaxCallResultSize) {
    return CallOutcome::Failure(CallStatus::kTooLarge);
  }
  return outcome;
}

CallStatus ReloadProcedure(std::string_view name) {
  if (name.empty()) {
    for (auto& count : reload_counts) ++count;
    return CallStatus::kSuccess;
  }
  const std::size_t index = FindProcedure(name);
  if (index == kProcedures.size()) return CallStatus::kUnknownProcedure;
  ++reload_counts[index];
  return CallStatus::kSuccess;
}

}  // namespace orbe::server
