// Company codes of the securities a screening covers: each security code
// through the security master, the set in byte order joined by ",".
#ifndef ORBE_SRC_SCREENING_BOARD_CODES_H_
#define ORBE_SRC_SCREENING_BOARD_CODES_H_

#include <set>
#include <string>
#include <vector>

class OrbeClientSession;

namespace orbe {

void AddCompaniesOfSecurities(OrbeClientSession* session, const std::vector<std::string>& secuCodes,
                              std::set<std::string>& companies);
std::string JoinCodeSet(const std::set<std::string>& codes);

}  // namespace orbe

#endif  // ORBE_SRC_SCREENING_BOARD_CODES_H_
