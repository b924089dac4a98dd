// Child process of the crash test: rewrites one INI section forever,
// alternating between two known contents, until it is killed.
//   ini_rewriter <file> <section> <key count>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "orbe/platform/profile.h"

#include "support/ini_rewrite_content.h"

namespace {

using orbe::testing::SectionPairs;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: ini_rewriter <file> <section> <key count>\n");
    return 2;
  }
  const int keys = std::atoi(argv[3]);
  const std::string contents[2] = {SectionPairs('a', keys), SectionPairs('b', keys)};
  for (unsigned round = 0;; ++round) {
    if (!WritePrivateProfileSectionA(argv[2], contents[round % 2].c_str(), argv[1])) return 1;
  }
}
