// The request records belong to the wire format in components/protocol,
// which the module, its components and the data server share; this name
// stays for the module's users.
#ifndef ORBE_DICTIONARY_SQL_RECORDS_H_
#define ORBE_DICTIONARY_SQL_RECORDS_H_

#include "protocol/sql_records.h"

#endif  // ORBE_DICTIONARY_SQL_RECORDS_H_
