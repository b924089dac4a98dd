// The host's quote boards (request 107) and the company codes behind them.
#include <cstring>
#include <set>
#include <vector>

#include "orbe/dictionary/cw_file_util.h"
#include "orbe/env.h"
#include "orbe/screening/headless_screening.h"

namespace orbe {

namespace {

constexpr int kQuoteBoardsCode = 0x6B;
constexpr int kHostBufferSlack = 1024;
constexpr std::size_t kMaxBoards = 100;
constexpr std::size_t kNameOffset = 1;
constexpr std::size_t kNameWidth = 20;
constexpr std::size_t kCountOffset = 2001;
constexpr std::size_t kCodeOffset = 2202;
constexpr std::size_t kCodeWidth = 15;
constexpr int kCompanyBuffer = 11;

std::vector<unsigned char> AskBoards(DataFuncProc func) {
  const HostValue7 zero{};
  const int size = func(nullptr, -1, kQuoteBoardsCode, nullptr, -1, zero, zero, 0, 0);
  if (size <= 0) return {};
  std::vector<unsigned char> buffer(static_cast<std::size_t>(size) + kHostBufferSlack, 0);
  const int written = func(nullptr, -1, kQuoteBoardsCode, buffer.data(), 1, zero, zero, 0, 0);
  if (written <= 0) return {};
  buffer.resize(std::min(buffer.size(), static_cast<std::size_t>(written)));
  return buffer;
}

std::string FieldAt(const std::vector<unsigned char>& bytes, std::size_t offset, std::size_t width) {
  const char* text = reinterpret_cast<const char*>(bytes.data() + offset);
  return std::string(text, strnlen(text, width));
}

}  // namespace

std::vector<std::string> QuoteBoardCodes(const std::string& boardName) {
  const DataFuncProc func = GetDataFunc();
  if (func == nullptr) return {};
  const std::vector<unsigned char> bytes = AskBoards(func);
  if (bytes.size() < kCodeOffset) return {};
  const std::size_t boards = std::min<std::size_t>(bytes[0], kMaxBoards);
  std::size_t codeAt = kCodeOffset;
  for (std::size_t i = 0; i < boards; ++i) {
    std::int16_t count = 0;
    std::memcpy(&count, bytes.data() + kCountOffset + 2 * i, sizeof count);
    const std::size_t codes = count > 0 ? static_cast<std::size_t>(count) : 0;
    if (FieldAt(bytes, kNameOffset + kNameWidth * i, kNameWidth) == boardName) {
      std::vector<std::string> out;
      // A count that promises more than the answer holds ends at its last whole entry.
      for (std::size_t c = 0; c < codes && codeAt + kCodeWidth <= bytes.size(); ++c, codeAt += kCodeWidth) {
        out.push_back(FieldAt(bytes, codeAt, kCodeWidth));
      }
      return out;
    }
    codeAt += kCodeWidth * codes;
  }
  return {};
}

std::string BoardCompanyCodes(const std::vector<std::string>& boardNames) {
  OrbeClientSession* session = GetGlobalMainOrbeClientSession();
  std::set<std::string> companies;
  for (const std::string& board : boardNames) {
    for (const std::string& code : QuoteBoardCodes(board)) {
      char company[kCompanyBuffer] = {};
      CwFileUtil::GetCompanyCodeBySecuCode(session, company, sizeof company, code.c_str());
      if (company[0] != '\0') companies.emplace(company, strnlen(company, sizeof company));
    }
  }
  std::string joined;
  for (const std::string& company : companies) {
    if (!joined.empty()) joined += ',';
    joined += company;
  }
  return joined;
}

}  // namespace orbe
