// Child process of the freeze-store tests, linked with the module:
//   freeze_writer <private folder> once <entries>   store the content 'a' and exit
//   freeze_writer <private folder> loop <entries>   rewrite 'b' and 'a' until killed
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "orbe/env.h"
#include "orbe/script/freeze_store.h"
#include "script/freeze_content.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: freeze_writer <private folder> once|loop <entries>\n");
    return 2;
  }
  SetPrivPath(argv[1]);
  orbe::FreezeStore& store = orbe::FreezeStore::Module();
  const int entries = std::atoi(argv[3]);
  if (std::strcmp(argv[2], "once") == 0) {
    orbe_test::Fill(store, orbe_test::FreezeContent('a', entries));
    return 0;  // written when the module unloads
  }
  const orbe::FreezeStore::Groups contents[2] = {orbe_test::FreezeContent('b', entries),
                                                 orbe_test::FreezeContent('a', entries)};
  for (unsigned round = 0;; ++round) {
    orbe_test::Fill(store, contents[round % 2]);
    if (!store.Flush()) return 1;
  }
}
