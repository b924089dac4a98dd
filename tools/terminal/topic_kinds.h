// The four topic selection trees as a host reaches them through their
// exports, one table row each, and the host window that hears their notices.
#ifndef ORBE_TOOLS_TERMINAL_TOPIC_KINDS_H_
#define ORBE_TOOLS_TERMINAL_TOPIC_KINDS_H_

#include <string>
#include <utility>
#include <vector>

#include "orbe/platform/window.h"
#include "orbe/topics/topics.h"

namespace orbe::terminal {

using Pairs = std::vector<std::pair<std::string, std::string>>;

inline constexpr RECT kTreeRect{0, 0, 360, 640};

// What differs between the four kinds.
struct TopicKind {
  const char* name;   // gg, jj, qh, zq
  const char* label;  // GBK, what a host's menu calls it
  bool (*init)(CWnd* parent);
  TopicTreeWnd* (*create)(CWnd* parent, const std::string& categories);
  std::string (*codes)(TopicTreeWnd& window);
  void (*pairs)(TopicTreeWnd& window, Pairs& out);
  void (*destroy)(CWnd* window);
};

const std::vector<TopicKind>& TopicKinds();
// Null for an unknown name.
const TopicKind* FindTopicKind(const std::string& name);
// The shipped bond categories for zq, "" for the others.
std::string DefaultTopicCategories(const TopicKind& kind);

// The host's window: counts the tree's messages as a host would see them.
class TopicHostWindow : public CWnd {
 public:
  int checked = 0;
  std::vector<std::string> double_clicked;  // "VALUE TEXT", GBK

  // Registers for the tree's check notices (and the fund tree's double clicks).
  void Listen(TopicTreeWnd& window);

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
};

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_TOPIC_KINDS_H_
