// Screening codes over a session's reference tables.
#include <memory>

#include "orbe/dictionary/cw_file_util.h"
#include "orbe/indicators/fetch_multi_progress.h"

namespace orbe {

namespace {

using BufferLookup = void (*)(OrbeClientSession*, char*, int, const char*);
constexpr int kLookupBuffer = 128;

class SessionScreeningCodes : public ScreeningCodes {
 public:
  explicit SessionScreeningCodes(OrbeClientSession* session) : session_(session) {}

  std::string CompanyOfInnerCode(const std::string& inner) const override {
    return Look(&CwFileUtil::GetCompanyCodeByInnerCode, inner);
  }
  std::string CompanyOfSecuCode(const std::string& secu) const override {
    return Look(&CwFileUtil::GetCompanyCodeBySecuCode, secu);
  }
  std::string SecuCodeOfCompany(const std::string& company) const override {
    return Look(&CwFileUtil::GetSecuCode, company);
  }
  std::string AbbrOfCompany(const std::string& company) const override {
    return Look(&CwFileUtil::GetSecuAbbr, company);
  }
  std::string InnerCodeOfSecuCode(const std::string& secu) const override {
    return Look(&CwFileUtil::GetInnerCodeBySecuCode, secu);
  }

 private:
  std::string Look(BufferLookup lookup, const std::string& key) const {
    if (session_ == nullptr || key.empty()) return std::string();
    char out[kLookupBuffer] = {};
    lookup(session_, out, sizeof out, key.c_str());
    return out;
  }

  OrbeClientSession* session_;
};

}  // namespace

std::unique_ptr<ScreeningCodes> MakeSessionScreeningCodes(OrbeClientSession* session) {
  return std::make_unique<SessionScreeningCodes>(session);
}

}  // namespace orbe
