// Adapters that let rows of the method table bind straight to the lookups of
// CwFileUtil: each runs the lookup over the container's session and gives a
// text, lists joined by ",".
#ifndef ORBE_SCRIPT_LOOKUP_BINDINGS_H_
#define ORBE_SCRIPT_LOOKUP_BINDINGS_H_

#include <string>
#include <vector>

#include "orbe/script/container_fun.h"

namespace orbe::script {

// Wide enough for the widest reference field (63 bytes).
inline constexpr int kLookupBufferSize = 256;

std::string JoinList(const std::vector<std::string>& items);

using BufferLookup = void (*)(OrbeClientSession*, char*, int, const char*);
using ListLookup = std::vector<std::string> (*)(OrbeClientSession*, const char*);
using TextLookup = std::string (*)(OrbeClientSession*, const char*);

std::string RunBufferLookup(BufferLookup lookup, OrbeClientSession* session, const std::string& key);

template <BufferLookup Fn>
std::string LookupText(IContainerFun& container, const std::string& key) {
  return RunBufferLookup(Fn, container.Session(), key);
}
template <ListLookup Fn>
std::string LookupList(IContainerFun& container, const std::string& key) {
  return JoinList(Fn(container.Session(), key.c_str()));
}
template <TextLookup Fn>
std::string LookupBond(IContainerFun& container, const std::string& key) {
  return Fn(container.Session(), key.c_str());
}
template <std::vector<std::string> (*Fn)()>
std::string HostBoards(IContainerFun&) {
  return JoinList(Fn());
}
template <std::vector<std::string> (*Fn)(const char*)>
std::string HostBoard(IContainerFun&, const std::string& name) {
  return JoinList(Fn(name.c_str()));
}

}  // namespace orbe::script

#endif  // ORBE_SCRIPT_LOOKUP_BINDINGS_H_
