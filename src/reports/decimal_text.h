// Decimal conversion as the C library's atol does it (leading blanks, a sign,
// the digits that follow, 0 when there are none), but saturating instead of
// overflowing, since report texts come from files anyone may edit.
#ifndef ORBE_REPORTS_DECIMAL_TEXT_H_
#define ORBE_REPORTS_DECIMAL_TEXT_H_

#include <string_view>

namespace orbe {

long LeadingDecimal(std::string_view text);

}  // namespace orbe

#endif  // ORBE_REPORTS_DECIMAL_TEXT_H_
