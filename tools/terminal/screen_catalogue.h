// The screening window's files, shared by every command that opens it: the
// scheme stores and the user's copy of the indicator catalogue, loaded.
#ifndef ORBE_TOOLS_TERMINAL_SCREEN_CATALOGUE_H_
#define ORBE_TOOLS_TERMINAL_SCREEN_CATALOGUE_H_

#include <memory>
#include <string>

#include "connection_options.h"
#include "orbe/indicators/index_mgr.h"
#include "screen_options.h"

namespace orbe::terminal {

struct CatalogueCloser {
  void operator()(IIndexMgr* mgr) const { DeleteIndexMgrInstance(mgr); }
};
using IndexCatalogue = std::unique_ptr<IIndexMgr, CatalogueCloser>;

// Fills the unset store and catalogue paths of options with their defaults
// (the shipped system schemes, the user's files in the home folder, the
// catalogue copied there on first use). False with *error when the
// catalogue cannot be copied.
bool ResolveScreenFiles(ScreenOptions& options, const ConnectionOptions& connection, std::string* error);

// ResolveScreenFiles, then loads the catalogue. Null with *error when a
// folder cannot be made or the catalogue does not load.
IndexCatalogue LoadScreenCatalogue(ScreenOptions& options, const ConnectionOptions& connection, std::string* error);

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_SCREEN_CATALOGUE_H_
