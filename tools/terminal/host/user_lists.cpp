#include "host/user_lists.h"

#include <algorithm>

#include "orbe/host/host_records.h"
#include "orbe/platform/file.h"
#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"

namespace orbe {
namespace {

constexpr const char* kCustomSection = "CustomBoards";

std::string BoardKey(const char* prefix, std::size_t number) { return Format("%s%02zu", prefix, number); }

std::string DefaultFileText(const HostUserDefaults& defaults) {
  std::string text = "[Lists]\r\nOwn=" + JoinCodes(defaults.own_list) +
                     "\r\nHoldings=" + JoinCodes(defaults.holdings) +
                     "\r\nCondition=" + JoinCodes(defaults.condition_board) + "\r\n\r\n[CustomBoards]\r\n";
  const std::size_t count = std::min(defaults.custom_boards.size(), HostUserLists::kMaxCustomBoards);
  text += Format("Count=%zu\r\n", count);
  for (std::size_t i = 0; i < count; ++i) {
    text += BoardKey("Name", i + 1) + "=" + defaults.custom_boards[i].name + "\r\n";
    text += BoardKey("Codes", i + 1) + "=" + JoinCodes(defaults.custom_boards[i].codes) + "\r\n";
  }
  text += "\r\n[Account]\r\nTradingAccount=" + defaults.trading_account +
          "\r\nLoginName=" + defaults.login_name + "\r\n";
  return text;
}

// A board name must fit the 20-byte name of the board-set layout whole.
bool IsStorableName(const std::string& name) {
  return !name.empty() && name.size() < kBoardNameSize &&
         name.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos;
}

}  // namespace

std::vector<std::string> SplitCodes(const std::string& text) {
  std::vector<std::string> codes;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(',', start), text.size());
    const std::string_view piece = TrimBlanks(std::string_view(text).substr(start, end - start));
    if (!piece.empty()) codes.emplace_back(piece);
    start = end + 1;
  }
  return codes;
}

std::string JoinCodes(const std::vector<std::string>& codes) {
  std::string text;
  for (const std::string& code : codes) text += (text.empty() ? "" : ",") + code;
  return text;
}

bool HostUserLists::CreateIfMissing(const HostUserDefaults& defaults) const {
  if (FileExists(path_)) return true;
  return WriteFileAtomically(path_, DefaultFileText(defaults));
}

std::vector<std::string> HostUserLists::Codes(const char* section, const char* key) const {
  return SplitCodes(ProfileString(path_, section, key));
}

std::vector<HostBoard> HostUserLists::CustomBoards() const {
  std::vector<HostBoard> boards;
  const int count =
      std::clamp(ProfileInt(path_, kCustomSection, "Count", 0), 0, static_cast<int>(kMaxCustomBoards));
  for (int i = 1; i <= count; ++i) {
    const std::string name = ProfileString(path_, kCustomSection, BoardKey("Name", i));
    if (name.empty()) continue;
    boards.push_back({name, Codes(kCustomSection, BoardKey("Codes", i).c_str())});
  }
  return boards;
}

std::string HostUserLists::TradingAccount() const {
  return ProfileString(path_, "Account", "TradingAccount");
}

std::string HostUserLists::LoginName() const { return ProfileString(path_, "Account", "LoginName"); }

bool HostUserLists::AppendToCustomBoard(const std::string& name,
                                        const std::vector<std::string>& codes) const {
  if (!IsStorableName(name)) return false;
  const int count = std::max(ProfileInt(path_, kCustomSection, "Count", 0), 0);
  int number = 0;
  for (int i = 1; i <= count && number == 0; ++i) {
    if (ProfileString(path_, kCustomSection, BoardKey("Name", i)) == name) number = i;
  }
  const bool is_new = number == 0;
  if (is_new && static_cast<std::size_t>(count) >= kMaxCustomBoards) return false;
  if (is_new) number = count + 1;
  std::vector<std::string> merged =
      is_new ? std::vector<std::string>{} : Codes(kCustomSection, BoardKey("Codes", number).c_str());
  for (const std::string& code : codes) {
    if (std::find(merged.begin(), merged.end(), code) == merged.end()) merged.push_back(code);
  }
  // Codes and name before the count: a crash in between leaves an unused
  // key, never a counted board without its codes.
  if (!WriteProfileString(path_, kCustomSection, BoardKey("Codes", number), JoinCodes(merged))) return false;
  if (!is_new) return true;
  return WriteProfileString(path_, kCustomSection, BoardKey("Name", number), name) &&
         WriteProfileString(path_, kCustomSection, "Count", std::to_string(number));
}

}  // namespace orbe
