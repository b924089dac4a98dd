// Plausible Chinese names for the sample market, composed from syllable
// tables, each with its pinyin initials (the short-name spelling users type).
#pragma once

#include <set>
#include <string>
#include <vector>

#include "sample/sample_random.h"

namespace orbe::sample {

struct ChineseName {
  std::string text;      // GBK
  std::string initials;  // upper-case ASCII
};

struct Province {
  const char* code;          // class 205
  const char* name;          // 浙江
  const char* abbreviation;  // 浙, as local government bonds are named
};

const std::vector<Province>& Provinces();

// A two-character name head such as 华新: chosen at random, never two equal characters.
ChineseName RandomHead(Random& random);

// Remembers names handed out so that a generator can insist on unique ones.
class NameRegistry {
 public:
  // True, and remembers the name, when it was not taken before.
  bool Claim(const std::string& name) { return taken_.insert(name).second; }

 private:
  std::set<std::string> taken_;
};

}  // namespace orbe::sample
