// The five reference-table loaders as dialogs over a session, and the runs
// that session start-up and the topic windows make of them.
#ifndef ORBE_SRC_DICTIONARY_REFERENCE_LOADER_DIALOGS_H_
#define ORBE_SRC_DICTIONARY_REFERENCE_LOADER_DIALOGS_H_

#include <memory>

#include "dictionary/reference_loader.h"
#include "dictionary/reference_loader_layouts.h"
#include "dictionary/reference_loader_targets.h"
#include "orbe/dataservice/orbe_client_session.h"

namespace orbe {

// A loader of one procedure into `session`'s reference tables. Without a
// session it fails at once.
template <typename TargetType, const ReferenceProcedureLayout& kLayout>
class ReferenceLoaderDialog : public ReferenceLoader {
 public:
  explicit ReferenceLoaderDialog(OrbeClientSession* session, CWnd* parent = nullptr)
      : ReferenceLoaderDialog(session, SessionFetchHandles(session), parent) {}
  // With data-request handles of the caller's making.
  ReferenceLoaderDialog(OrbeClientSession* session, FetchHandleFactory handles, CWnd* parent = nullptr)
      : ReferenceLoader(kLayout, session != nullptr ? std::make_unique<TargetType>(session->References()) : nullptr,
                        std::move(handles), parent) {}
};

enum class ReferenceTopic { kHongKong = 0, kFund = 1, kFutures = 2, kBond = 3 };

// Runs the main-table loader modally; true on success.
bool LoadMainTables(OrbeClientSession* session, CWnd* parent);
// Runs one topic loader modally; a success into the global main session also
// counts as that topic's load for its initialiser.
bool LoadTopicTables(ReferenceTopic topic, OrbeClientSession* session, CWnd* parent);
// The topic initialisers of the topic windows: loads the topic into the
// global main session unless a load into it already succeeded this process.
bool LoadTopicOnce(ReferenceTopic topic, CWnd* parent);

}  // namespace orbe

using CDlgGetMainTable = orbe::ReferenceLoaderDialog<orbe::MainTableTarget, orbe::kMainTableLayout>;
using CDlgGetGGInfoTable = orbe::ReferenceLoaderDialog<orbe::GgInfoTarget, orbe::kGgInfoLayout>;
using CDlgGetJJInfoTable = orbe::ReferenceLoaderDialog<orbe::JjInfoTarget, orbe::kJjInfoLayout>;
using CDlgGetQHInfoTable = orbe::ReferenceLoaderDialog<orbe::QhInfoTarget, orbe::kQhInfoLayout>;
using CDlgGetZQInfoTable = orbe::ReferenceLoaderDialog<orbe::ZqInfoTarget, orbe::kZqInfoLayout>;

#endif  // ORBE_SRC_DICTIONARY_REFERENCE_LOADER_DIALOGS_H_
