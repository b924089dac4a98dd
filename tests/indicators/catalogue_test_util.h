// Temporary folders and files for the catalogue and scheme tests.
#ifndef ORBE_TESTS_INDICATORS_CATALOGUE_TEST_UTIL_H_
#define ORBE_TESTS_INDICATORS_CATALOGUE_TEST_UTIL_H_

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace orbe::testing {

// Removes the folder however the test ends.
struct TempFolder {
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orbe_cat_XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path = pattern;
  }
  ~TempFolder() {
    if (!path.empty()) std::filesystem::remove_all(path);
  }
  std::string File(const std::string& name) const { return path + "/" + name; }

  std::string path;
};

inline void WriteText(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace orbe::testing

#endif  // ORBE_TESTS_INDICATORS_CATALOGUE_TEST_UTIL_H_
