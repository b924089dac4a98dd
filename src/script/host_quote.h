// The host's quote and security answers, for the script windows that show
// them (the script object's GetStockData family and the grid loader).
#ifndef ORBE_SCRIPT_HOST_QUOTE_H_
#define ORBE_SCRIPT_HOST_QUOTE_H_

#include <string>

#include "orbe/host/host_records.h"

namespace orbe::script {

// A field of the quote record HQ104 by its number (0 state, 1 previous close,
// ... 20 float market value); 0 when the host has no record or no function.
// market -1 asks on any market.
double HostQuoteField(const std::string& code, int market, int field);
// Whether the host answers a quote record for the security.
bool HostQuoteKnown(const std::string& code, int market);
bool HostSecurity(const std::string& code, HostSecurityAttributes& attributes);
// Asks the host to show the security (switch 12); its answer.
int ShowSecurityInHost(const std::string& code);

}  // namespace orbe::script

#endif  // ORBE_SCRIPT_HOST_QUOTE_H_
