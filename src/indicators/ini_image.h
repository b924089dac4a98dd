// The bytes an INI file has after it was emptied and then written key by key
// with WritePrivateProfileStringA, built in memory so that the file can be
// replaced in one atomic step instead: a crash between the emptying and the
// last key would otherwise lose the whole file.
#ifndef ORBE_INDICATORS_INI_IMAGE_H_
#define ORBE_INDICATORS_INI_IMAGE_H_

#include <string>
#include <string_view>

namespace orbe {

class IniImage {
 public:
  // Every section must be new: the writers here name each section once.
  void Section(std::string_view name);
  // A key of the current section; a value the profile writer would refuse
  // (a line break in it) is left out as that writer leaves it out.
  void Key(std::string_view key, std::string_view value);
  void Key(std::string_view key, int value);

  const std::string& bytes() const { return bytes_; }
  bool WriteTo(const std::string& path) const;

 private:
  std::string bytes_;
  std::string section_;
  bool section_written_ = false;
};

}  // namespace orbe

#endif  // ORBE_INDICATORS_INI_IMAGE_H_
