// The two section contents the INI crash test alternates between; shared by
// the test and its child process so both always agree.
#ifndef ORBE_TESTS_SUPPORT_INI_REWRITE_CONTENT_H_
#define ORBE_TESTS_SUPPORT_INI_REWRITE_CONTENT_H_

#include <cstdio>
#include <string>

namespace orbe::testing {

// A double-NUL list of `keys` pairs "kNNNNN=<90 letters><i>".
inline std::string SectionPairs(char letter, int keys) {
  std::string pairs;
  for (int i = 0; i < keys; ++i) {
    char key[16];
    std::snprintf(key, sizeof(key), "k%05d=", i);
    pairs += key;
    pairs += std::string(90, letter);
    pairs += std::to_string(i);
    pairs += '\0';
  }
  pairs += '\0';
  return pairs;
}

}  // namespace orbe::testing

#endif  // ORBE_TESTS_SUPPORT_INI_REWRITE_CONTENT_H_
