#include <cstdint>
#include <string_view>

#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/dictionary/cw_dictionary.h"
#include "orbe/platform/text.h"
#include "orbe/reports/cini_report_util.h"
#include "orbe/reports/report_lookups.h"
#include "reports/decimal_text.h"

CString CIniReportUtil::GetFiledName(DWORD tableNumber, const CString& fieldText) {
  if (fieldText.empty()) return {};
  const auto main_session = orbe::CurrentReportLookups().main_session;
  const OrbeClientSession* session = main_session == nullptr ? nullptr : main_session();
  if (session == nullptr) return {};
  const long number = orbe::LeadingDecimal(std::string_view(fieldText).substr(1));
  // Dictionary field numbers are 16-bit; a larger number names no field.
  if (number < INT16_MIN || number > INT16_MAX) return {};
  const orbe::CwDictionary& dictionary = session->Dictionary();
  const orbe::CwDictionary::FieldHit* hit =
      dictionary.FindFieldByNumber(tableNumber, static_cast<std::int16_t>(number));
  if (hit == nullptr) return {};
  return orbe::FieldText(dictionary.Fields()[static_cast<std::size_t>(hit->field_record)].name);
}
