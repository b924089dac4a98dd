// The user's own lists, kept by the host in an INI file of its private folder
// (GBK, CRLF): the own list, holdings, the condition board, custom boards and
// the account texts. docs/data.md describes the format.
#ifndef ORBE_TOOLS_TERMINAL_HOST_USER_LISTS_H_
#define ORBE_TOOLS_TERMINAL_HOST_USER_LISTS_H_

#include <string>
#include <vector>

#include "host/board_set.h"

namespace orbe {

struct HostUserDefaults {
  std::vector<std::string> own_list;
  std::vector<std::string> holdings;
  std::vector<std::string> condition_board;
  std::vector<HostBoard> custom_boards;
  std::string trading_account;
  std::string login_name;
};

class HostUserLists {
 public:
  static constexpr const char* kFileName = "hostlists.ini";
  static constexpr std::size_t kMaxCustomBoards = 100;

  explicit HostUserLists(std::string path) : path_(std::move(path)) {}

  const std::string& path() const { return path_; }
  // Writes the file with these contents when there is none yet; false only
  // when a missing file cannot be written.
  bool CreateIfMissing(const HostUserDefaults& defaults) const;

  std::vector<std::string> OwnList() const { return Codes("Lists", "Own"); }
  std::vector<std::string> Holdings() const { return Codes("Lists", "Holdings"); }
  std::vector<std::string> ConditionBoard() const { return Codes("Lists", "Condition"); }
  std::vector<HostBoard> CustomBoards() const;
  std::string TradingAccount() const;
  std::string LoginName() const;

  // Appends the codes the board does not hold yet, creating the board when
  // it is new; false when it cannot be stored (full, bad name, write error).
  bool AppendToCustomBoard(const std::string& name, const std::vector<std::string>& codes) const;

 private:
  std::vector<std::string> Codes(const char* section, const char* key) const;
  std::string path_;
};

// "600000,000001" <-> codes; blanks and empty pieces are dropped.
std::vector<std::string> SplitCodes(const std::string& text);
std::string JoinCodes(const std::vector<std::string>& codes);

}  // namespace orbe

#endif  // ORBE_TOOLS_TERMINAL_HOST_USER_LISTS_H_
