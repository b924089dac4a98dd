// The registered window messages that the widget library and the windows
// hosting its controls share: one table of names, registered once (the
// module registers them all when it is loaded; the first lookup does so for
// a host without the module), each name always giving the same id.
#ifndef ORBE_WIDGETS_KVX_MESSAGES_H_
#define ORBE_WIDGETS_KVX_MESSAGES_H_

#include <cstddef>
#include <iterator>

#include "orbe/platform/types.h"

namespace orbe {

enum class KvxMessage : int {
  kRichEditChange,     // the rich edit's text changed (wParam: control id)
  kRichEditReturn,     // Enter pressed in a rich edit
  kRichEditSetFocus,   // a rich edit gained the focus
  kRichEditKillFocus,  // a rich edit lost the focus
  kRadioClicked,
  kCheckClicked,
  kButtonClicked,
  kNumEditGetPos,  // the spinner's value (its answer)
  kNumEditSetPos,  // wParam: the value
  kNumEditGetRange,  // answer: low word minimum, high word maximum (16 bits each)
  kNumEditSetRange,  // wParam: minimum, lParam: maximum
  kNumEditGetReadOnly,
  kNumEditSetReadOnly,  // wParam: 1 or 0
  kNumEditChanged,
  kDateItemChanged,
  kPageCtrlMsg,
  kMonthCalSelChanged,
  kXPageItemClicked,
  kCount
};

inline constexpr const char* kKvxMessageNames[] = {
    "RICHEDIT_EN_CHANGE",
    "RICHEDIT_VK_RETURN",
    "RICHEDIT_EN_SETFOCUS",
    "RICHEDIT_EN_KILLFOCUS",
    "RADIO_CLICKED",
    "CHECK_CLICKED",
    "BUTTON_CLICKED",
    "NEM_GETPOS-{C513E47E-D128-4513-8460-B6C944A49131}",
    "NEM_SETPOS-{D3BF042E-8E1E-403f-8644-CCCB8FDBD80C}",
    "NEM_GETRANGE-{5474EEB4-6BDC-4a5d-9CCE-7FC29F2BA06E}",
    "NEM_SETRANGE-{D837739D-9588-4747-AB2C-12BBFEF57138}",
    "NEM_GETREADONLY-{7399E120-E305-48e0-9CF3-755483B79F87}",
    "NEM_SETREADONLY-{12B8313F-44D6-4680-A208-19B61186BEC9}",
    "NEN_CHANGED-{CD9B6FDC-F420-4956-91B0-AB882EC15A89}",
    "DATEITEM_CHANGED",
    "UM_PAGECTRLMSG",
    "MONTHCAL_SELCHANGED",
    "XPAGE_ITEMCLICKED",
};
static_assert(std::size(kKvxMessageNames) == static_cast<std::size_t>(KvxMessage::kCount));

// Registers every name of the table (once per process; later calls do nothing).
void RegisterKvxMessages();
// The registered id of a message of the table (never 0).
UINT KvxMessageId(KvxMessage message);
// The message of the table that an id stands for; kCount for any other id.
KvxMessage KvxMessageOf(UINT id);

}  // namespace orbe

#endif  // ORBE_WIDGETS_KVX_MESSAGES_H_
