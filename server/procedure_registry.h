// The procedures a call request can name: a table from name to function.
#ifndef ORBE_SERVER_PROCEDURE_REGISTRY_H_
#define ORBE_SERVER_PROCEDURE_REGISTRY_H_

#include <string_view>

#include "procedure_call.h"
#include "sql_connection.h"

namespace orbe::server {

// Runs in one snapshot of the data on the caller's connection, so a procedure
// reads one state even while writers commit.
CallOutcome CallProcedure(SqlConnection& reader, const CallRequest& request);

// Makes the named procedure's time stamps change (all procedures for an empty
// name), so that clients drop what they cached of it and load it again.
// kUnknownProcedure for a name no procedure has.
CallStatus ReloadProcedure(std::string_view name);

}  // namespace orbe::server

#endif  // ORBE_SERVER_PROCEDURE_REGISTRY_H_
