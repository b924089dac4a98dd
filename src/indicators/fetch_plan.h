// The plan of one screening, made before anything is asked: the scheme rows
// resolved against the catalogue, their base indicators numbered in order
// (the sequence numbers every result list uses), the SQL groups, the TQL
// list, the code chunks, and what each request carries.
#ifndef ORBE_INDICATORS_FETCH_PLAN_H_
#define ORBE_INDICATORS_FETCH_PLAN_H_

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "orbe/indicators/fetch_multi_progress.h"

namespace orbe {

// One base indicator of the plan, at its sequence number.
struct PlanBase {
  IndexBase* index = nullptr;
  std::string param;  // its part of the row's parameter
  int entity = 0;     // the scheme row it serves
};

struct FetchPlan {
  std::vector<EntityParam> entities;
  std::vector<PlanBase> bases;                 // by sequence number
  std::vector<std::vector<int>> groups;        // sequence numbers per SQL statement
  std::vector<int> tqls;                       // sequence numbers of TQL indicators
  std::vector<std::string> chunks;             // company codes, about 3800 characters each
  std::vector<int> decimals;                   // display decimals per scheme row
  // Chunks in the code form of a CODE_TYPE, converted once per screening:
  // every group and TQL indicator sends the same chunks.
  std::map<std::pair<int, int>, std::string> converted;
};

// The rows that resolve; false (and `out` empty) when an indicator is unknown.
// A row whose parameters do not match its bases is left out.
bool ResolveScheme(IIndexMgr* mgr, const IndexScheme& scheme, std::vector<EntityParam>& out);
// The base with sequence number `seq` and where it sits; null past the end.
IndexBase* BaseOfSequence(const std::vector<EntityParam>& entities, int seq, int& entity, int& base);

// Nothing when a row does not resolve (the screening's "待选指标错误").
std::optional<FetchPlan> MakeFetchPlan(IIndexMgr* mgr, const IndexScheme& scheme, const std::string& codes);

// Chunks of about kCodeChunkLength characters, each but the last ending at a comma.
std::vector<std::string> SplitCodeChunks(const std::string& codes);

// The statement of group `group` and its code-list tag; "" when it cannot be built.
std::string GroupStatement(const FetchPlan& plan, int group, OrbeClientSession* session, BYTE& tag);
// The CODE_TYPE of the group's key: its first indicator's, CODE_REQUEST when empty.
int GroupCodeType(const FetchPlan& plan, int group);
// The option of TQL indicator `tql` without codes; "" when it cannot be made.
std::string TqlOptionHead(const FetchPlan& plan, int tql, OrbeClientSession* session);
// The service function an option calls.
std::string TqlFunctionOf(const std::string& option);

// Chunk `chunk` in the code form of `codeType`; empty when none of its codes is known.
const std::string& ConvertedChunk(FetchPlan& plan, int chunk, int codeType, const ScreeningCodes& book);
// Company codes into inner codes (company -> security -> inner) or security codes;
// unknown codes are left out.
std::string ToInnerCodes(const ScreeningCodes& book, const std::string& codes);
std::string ToStockCodes(const ScreeningCodes& book, const std::string& codes);

}  // namespace orbe

#endif  // ORBE_INDICATORS_FETCH_PLAN_H_
