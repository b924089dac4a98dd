// Everything a host or a component of orbe needs: the platform layer, the
// widget library's free functions and the module's exports.
#ifndef ORBE_ORBE_H_
#define ORBE_ORBE_H_

// In layer order, lowest first.
// clang-format off
#include "orbe/platform/types.h"
#include "orbe/platform/text.h"
#include "orbe/platform/loader.h"
#include "orbe/platform/sync.h"
#include "orbe/platform/profile.h"
#include "orbe/platform/file.h"
#include "orbe/platform/window.h"
#include "orbe/platform/message_box.h"
#include "orbe/platform/crypto.h"
#include "orbe/widgets/ctime.h"
#include "orbe/widgets/kvx_functions.h"
#include "orbe/host/host_callbacks.h"
#include "orbe/host/host_records.h"
#include "orbe/dataservice/cw_host_info.h"
#include "orbe/dataservice/reply_handle.h"
#include "orbe/dataservice/cw_data_engin.h"
#include "orbe/dataservice/cw_cache.h"
#include "orbe/dataservice/component_entry_points.h"
#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/dataservice/fetch_data.h"
#include "orbe/dataservice/fetch_file.h"
#include "orbe/dataservice/pass_through.h"
#include "orbe/dictionary/dictionary_records.h"
#include "orbe/dictionary/sql_records.h"
#include "orbe/dictionary/cw_dictionary.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/script/script_call.h"
#include "orbe/script/script_env.h"
#include "orbe/script/script_ref.h"
#include "orbe/indicators/index_calc.h"
#include "orbe/indicators/index_base.h"
#include "orbe/indicators/index_mgr.h"
#include "orbe/indicators/index_scheme.h"
#include "orbe/reports/cini_report_util.h"
#include "orbe/reports/report_clock.h"
#include "orbe/reports/report_config.h"
#include "orbe/reports/report_description.h"
#include "orbe/reports/report_lookups.h"
#include "orbe/reports/report_terms.h"
#include "orbe/topics/topics.h"
#include "orbe/env.h"
// clang-format on

#endif  // ORBE_ORBE_H_
