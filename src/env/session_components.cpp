// The exported three-argument session constructor: a session over the
// module's own loaded cache component. Sessions themselves take the component
// they are given (src/dataservice/orbe_client_session.cpp).
#include "env/module_state.h"
#include "orbe/dataservice/orbe_client_session.h"

OrbeClientSession::OrbeClientSession(ICwDataEngin* engine, const std::string& cacheDirectory,
                                     const std::string& configurationFile)
    : OrbeClientSession(engine, orbe::Siblings().Cache(), cacheDirectory, configurationFile) {}
