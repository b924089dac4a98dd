// Finding names by what a user types into the search box: the pinyin
// initials of a name ("SYL" for 市盈率) or a piece of the name itself.
#ifndef ORBE_SRC_SCREENING_INDICATOR_SEARCH_H_
#define ORBE_SRC_SCREENING_INDICATOR_SEARCH_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orbe {

class InitialsIndex {
 public:
  void Clear();
  void Add(const std::string& name);
  std::size_t size() const { return names_.size(); }

  // At most `limit` names, best first: initials that begin with the typed
  // letters, names that begin with the typed text, then initials and names
  // that contain it; within each, in the order the names were added. Letters
  // match without case; an empty or blank text matches nothing.
  std::vector<std::string> Find(std::string_view typed, std::size_t limit) const;

 private:
  struct Entry {
    std::string name;
    std::string initials;
    std::string upper;  // the name with ASCII upper-cased
  };
  std::vector<Entry> names_;
};

}  // namespace orbe

#endif  // ORBE_SRC_SCREENING_INDICATOR_SEARCH_H_
