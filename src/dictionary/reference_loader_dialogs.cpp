#include "dictionary/reference_loader_dialogs.h"

#include <array>
#include <atomic>

#include "orbe/dictionary/reference_loaders.h"
#include "orbe/env.h"

namespace orbe {
namespace {

constexpr std::size_t kTopicCount = 4;
std::array<std::atomic<bool>, kTopicCount> g_topic_loaded{};

template <typename Dialog>
bool RunLoader(OrbeClientSession* session, CWnd* parent) {
  Dialog dialog(session, parent);
  return dialog.Run();
}

bool RunTopic(ReferenceTopic topic, OrbeClientSession* session, CWnd* parent) {
  switch (topic) {
    case ReferenceTopic::kHongKong:
      return RunLoader<CDlgGetGGInfoTable>(session, parent);
    case ReferenceTopic::kFund:
      return RunLoader<CDlgGetJJInfoTable>(session, parent);
    case ReferenceTopic::kFutures:
      return RunLoader<CDlgGetQHInfoTable>(session, parent);
    case ReferenceTopic::kBond:
      return RunLoader<CDlgGetZQInfoTable>(session, parent);
  }
  return false;
}

}  // namespace

bool LoadMainTables(OrbeClientSession* session, CWnd* parent) {
  return RunLoader<CDlgGetMainTable>(session, parent);
}

bool LoadTopicTables(ReferenceTopic topic, OrbeClientSession* session, CWnd* parent) {
  const bool loaded = RunTopic(topic, session, parent);
  if (session != nullptr && session == GetGlobalMainOrbeClientSession()) {
    g_topic_loaded[static_cast<std::size_t>(topic)].store(loaded);
  }
  return loaded;
}

bool LoadTopicOnce(ReferenceTopic topic, CWnd* parent) {
  if (g_topic_loaded[static_cast<std::size_t>(topic)].load()) return true;
  return LoadTopicTables(topic, GetGlobalMainOrbeClientSession(), parent);
}

void ForgetTopicLoads() {
  for (std::atomic<bool>& loaded : g_topic_loaded) loaded.store(false);
}

}  // namespace orbe
