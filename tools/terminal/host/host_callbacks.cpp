#include "host/host_callbacks.h"

#include <atomic>
#include <climits>
#include <cstring>
#include <mutex>

#include "host/host_market.h"
#include "orbe/platform/text.h"

namespace orbe {
namespace {

constexpr std::size_t kMaxSwitchText = 256;

std::atomic<HostMarket*> g_market{nullptr};
std::atomic<std::FILE*> g_echo{nullptr};
std::mutex g_switch_mutex;
std::vector<HostSwitchRequest> g_switches;

// The answer announced by the last size query on this thread. A fetch of a
// variable-sized answer hands out exactly these bytes, so a list changed in
// between can never overrun the buffer the caller sized by the query.
struct PendingAnswer {
  int code = 0;
  HostValue7 first{};
  HostValue7 second{};
  std::string bytes;
  bool valid = false;

  bool Matches(int c, const HostValue7& f, const HostValue7& s) const {
    return valid && code == c && std::memcmp(&first, &f, sizeof f) == 0 &&
           std::memcmp(&second, &s, sizeof s) == 0;
  }
};
thread_local PendingAnswer t_pending;

int SizeQuery(const HostMarket& market, int code, const HostValue7& first, const HostValue7& second) {
  if (const int fixed = HostMarket::FixedAnswerSize(code); fixed > 0) return fixed;
  std::string bytes = market.Answer(code, first, second);
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX)) return 0;
  const int size = static_cast<int>(bytes.size());
  t_pending = PendingAnswer{code, first, second, std::move(bytes), true};
  return size;
}

int Fetch(const HostMarket& market, int code, void* buffer, const HostValue7& first,
          const HostValue7& second) {
  std::string bytes;
  if (HostMarket::FixedAnswerSize(code) > 0) {
    bytes = market.Answer(code, first, second);
  } else if (t_pending.Matches(code, first, second)) {
    bytes = std::move(t_pending.bytes);
    t_pending = PendingAnswer{};
  }
  // A variable answer without its size query is refused: the buffer's size is unknown.
  std::memcpy(buffer, bytes.data(), bytes.size());
  return static_cast<int>(bytes.size());
}

void Record(HostSwitchRequest request) {
  if (std::FILE* echo = g_echo.load()) {
    std::string line = Format("switch %d:", request.kind);
    for (const std::string& code : request.codes) line += " " + code;
    if (!request.text.empty()) line += " " + GbkToUtf8(request.text);
    std::fprintf(echo, "%s\n", line.c_str());
  }
  const std::lock_guard<std::mutex> hold(g_switch_mutex);
  g_switches.push_back(std::move(request));
}

std::vector<std::string> SwitchRecordCodes(const void* records, int length) {
  std::vector<std::string> codes;
  if (records == nullptr || length <= 0) return codes;
  const auto* bytes = static_cast<const char*>(records);
  for (std::size_t at = 0; at + kSwitchRecordSize <= static_cast<std::size_t>(length);
       at += kSwitchRecordSize) {
    std::string code = FieldText(bytes + at + 1, kSwitchRecordSize - 1);
    if (!code.empty()) codes.push_back(std::move(code));
  }
  return codes;
}

std::string CallbackText(const HostMarket& market, int command, const std::string& code) {
  const HostSecurity* security = market.Security(code);
  if (security == nullptr) return "";
  if (command == kCallbackSecurityName) return security->abbreviation;
  if (command == kCallbackMarketName) {
    return security->market == kHostShanghai ? "上海证券交易所" : "深圳证券交易所";
  }
  return "";
}

int SwitchRequest(const void* target, const void* data, int dataLength, int kind) {
  HostMarket* market = CallbackMarket();
  HostSwitchRequest request{kind, {}, {}};
  int done = 0;
  if (kind == kSwitchShowSecurity && target != nullptr) {
    request.codes.push_back(FieldText(static_cast<const char*>(target), kSwitchRecordSize));
    done = 1;
  } else if (kind == kSwitchSaveBoard) {
    request.codes = SwitchRecordCodes(data, dataLength);
    done = market != nullptr && !request.codes.empty() && market->SaveBoard(request.codes) ? 1 : 0;
  } else if (target != nullptr) {
    request.text = FieldText(static_cast<const char*>(target), kMaxSwitchText);
  }
  Record(std::move(request));
  return done;
}

int CallbackRequest(int command, const HostValue7* value, void* buffer, int* bufferLength) {
  const HostMarket* market = CallbackMarket();
  if (market == nullptr || value == nullptr || buffer == nullptr || bufferLength == nullptr ||
      *bufferLength <= 0) {
    return 0;
  }
  const std::string code = FieldText(reinterpret_cast<const char*>(value->bytes), sizeof value->bytes);
  const std::string text = CallbackText(*market, command, code);
  if (text.empty()) return 0;
  auto* out = static_cast<char*>(buffer);
  std::memset(out, 0, static_cast<std::size_t>(*bufferLength));
  *bufferLength = static_cast<int>(CopyBounded(out, static_cast<std::size_t>(*bufferLength), text));
  return 1;
}

// The module calls in from its own code: nothing may be thrown back at it.
template <typename Body>
int Guarded(Body body) noexcept {
  try {
    return body();
  } catch (...) {
    return 0;
  }
}

}  // namespace

void SetCallbackMarket(HostMarket* market) { g_market.store(market); }
HostMarket* CallbackMarket() { return g_market.load(); }

std::vector<HostSwitchRequest> RecordedSwitchRequests() {
  const std::lock_guard<std::mutex> hold(g_switch_mutex);
  return g_switches;
}

void ClearRecordedSwitchRequests() {
  const std::lock_guard<std::mutex> hold(g_switch_mutex);
  g_switches.clear();
}

void SetSwitchEcho(std::FILE* stream) { g_echo.store(stream); }

int HostDataFunc(int*, int, int code, void* buffer, short, HostValue7 first, HostValue7 second, int, int) {
  return Guarded([&] {
    const HostMarket* market = CallbackMarket();
    if (market == nullptr) return 0;
    if (buffer == nullptr) return SizeQuery(*market, code, first, second);
    return Fetch(*market, code, buffer, first, second);
  });
}

int HostSwitchFunc(const void* target, int, const void* data, int dataLength, int kind, int, int) {
  return Guarded([&] { return SwitchRequest(target, data, dataLength, kind); });
}

int HostCallbackFunc(int command, const HostValue7* value, int, void* buffer, int* bufferLength, int) {
  return Guarded([&] { return CallbackRequest(command, value, buffer, bufferLength); });
}

}  // namespace orbe
