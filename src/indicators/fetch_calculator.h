// The calculator of a screening: what the fetched values become. Quote fields
// read from the host's records, unit scaling, user indicators, the cells of
// the result table, the condition tests and the logical expression. No
// request is made here.
#ifndef ORBE_INDICATORS_FETCH_CALCULATOR_H_
#define ORBE_INDICATORS_FETCH_CALCULATOR_H_

#include <cstdint>
#include <string>
#include <vector>

#include "indicators/fetch_plan.h"
#include "orbe/env.h"

namespace orbe {

// The value scaled to the unit text (unit types 1 and 2 only).
vtParam ScaleToUnit(const vtParam& value, std::int32_t unittype, const std::string& unit);
// The condition result of one cell (op empty or unknown: true).
bool TestCondition(const vtParam& cell, std::int32_t datatype, const std::string& op, const std::string& value);

// Quote fields marked invalid carry the digit eight in every value byte.
void MarkInvalid(vtParam& value);
bool IsMarkedInvalid(const vtParam& value);
// A value's display text; `decimals` for doubles.
std::string DisplayText(const vtParam& value, int decimals);

// One quote indicator's value from a record of kQuoteRecordSize bytes.
bool ReadQuoteField(const HqIndex& hq, const unsigned char* record, vtParam& value);
// Every quote indicator of the plan for every code the results or the chunks
// name, one host record per security.
void FetchQuoteValues(DataFuncProc host, const FetchPlan& plan, const ScreeningCodes& book,
                      std::vector<CodeValues>& results);

// A user indicator's values (row `entity`, bases firstSeq .. firstSeq + count - 1).
CodeValues CalcUsrValues(IIndexMgr* mgr, const std::vector<EntityParam>& entities,
                         const std::vector<CodeValues>& results, int entity, int firstSeq, int count);
// A row for every security with a value, in first-seen order.
SgTable BuildResultTable(IIndexMgr* mgr, const FetchPlan& plan, const std::vector<CodeValues>& results,
                         const ScreeningCodes& book);
// The rows whose condition results the expression passes.
SgTable FilterByLogic(const SgTable& table, const std::vector<EntityParam>& entities, CPyLogicCalc& logic);

}  // namespace orbe

#endif  // ORBE_INDICATORS_FETCH_CALCULATOR_H_
