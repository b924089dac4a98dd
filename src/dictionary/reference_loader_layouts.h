// The five reference procedures as their loaders read them: per result set,
// the reply's field widths and whether the set is paged (docs/protocol.md,
// "Reference procedures").
#ifndef ORBE_SRC_DICTIONARY_REFERENCE_LOADER_LAYOUTS_H_
#define ORBE_SRC_DICTIONARY_REFERENCE_LOADER_LAYOUTS_H_

#include "dictionary/reference_loader.h"

namespace orbe {

extern const ReferenceProcedureLayout kMainTableLayout;  // sys_get_main_table_v2
extern const ReferenceProcedureLayout kGgInfoLayout;     // sys_get_gg_info_v2
extern const ReferenceProcedureLayout kJjInfoLayout;     // sys_get_jj_info
extern const ReferenceProcedureLayout kQhInfoLayout;     // sys_get_qh_info
extern const ReferenceProcedureLayout kZqInfoLayout;     // sys_get_zq_info_v3

}  // namespace orbe

#endif  // ORBE_SRC_DICTIONARY_REFERENCE_LOADER_LAYOUTS_H_
