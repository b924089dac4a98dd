#include <cstdio>

#include "orbe/orbe.h"

int main() {
  std::printf("%s", GetThisMoudleVersion().c_str());
  return 0;
}
