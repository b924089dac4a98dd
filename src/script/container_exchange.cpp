// The exchange buffer: an RPC request built field by field and sent whole,
// or a pushed message read field by field. Layout of an RPC request:
//   0   u16  function code 2023
//   2   31   function name (at most 30 characters), zero-filled
//   33  u16  parameter length: write position - 35 when above 35, else 0
//   35       parameters, in the order added
// The request goes out as the call request of the wire protocol with the name
// and the parameter bytes; numbers are little-endian.
#include "orbe/script/container_fun.h"

#include <cstring>

#include "script/container_data.h"

using namespace orbe;

namespace {

constexpr std::uint16_t kRpcFunctionCode = 2023;
constexpr std::uint32_t kRpcNameOffset = 2;
constexpr std::uint32_t kRpcNameField = 31;
constexpr std::uint32_t kRpcLengthOffset = 33;
constexpr std::uint32_t kRpcParameterOffset = 35;
constexpr int kMaxPopText = 65536;

template <typename T>
int Add(ContainerData& d, T value) {
  if (kExchangeBufferSize - d.rpc_position < sizeof value) return 0;
  std::memcpy(d.exchange.data() + d.rpc_position, &value, sizeof value);
  d.rpc_position += sizeof value;
  return 1;
}

template <typename T>
T Pop(ContainerData& d) {
  T value{};
  if (d.push_length > kExchangeBufferSize || d.push_position > d.push_length ||
      d.push_length - d.push_position < sizeof value) {
    return value;
  }
  std::memcpy(&value, d.exchange.data() + d.push_position, sizeof value);
  d.push_position += sizeof value;
  return value;
}

// Writes the header and hands back the name and parameters; false for a
// name the header cannot hold. The write position starts over either way.
bool FinishRpc(ContainerData& d, const std::string& function, std::string& name, std::string& parameters) {
  if (function.size() >= kRpcNameField) {
    d.rpc_position = 0;
    return false;
  }
  const std::uint32_t position = d.rpc_position;
  const std::uint16_t length =
      static_cast<std::uint16_t>(position > kRpcParameterOffset ? position - kRpcParameterOffset : 0);
  std::memcpy(d.exchange.data(), &kRpcFunctionCode, sizeof kRpcFunctionCode);
  std::memset(d.exchange.data() + kRpcNameOffset, 0, kRpcNameField);
  std::memcpy(d.exchange.data() + kRpcNameOffset, function.data(), function.size());
  std::memcpy(d.exchange.data() + kRpcLengthOffset, &length, sizeof length);
  d.rpc_position = 0;
  name = function;
  parameters.assign(reinterpret_cast<const char*>(d.exchange.data() + kRpcParameterOffset), length);
  return true;
}

}  // namespace

int IContainerFun::SeekRPCCallReqPos(int position) {
  if (position < 0 || position >= static_cast<int>(kExchangeBufferSize) - 1) return 0;
  data_->rpc_position = static_cast<std::uint32_t>(position);
  return 1;
}

int IContainerFun::GetRPCCallReqPos() { return static_cast<int>(data_->rpc_position); }

int IContainerFun::AddRPCCallReqAsString(const std::string& text, int width) {
  ContainerData& d = *data_;
  if (width <= 0 || text.size() > static_cast<std::size_t>(width) ||
      kExchangeBufferSize - d.rpc_position < static_cast<std::uint32_t>(width)) {
    return 0;
  }
  unsigned char* at = d.exchange.data() + d.rpc_position;
  std::memset(at, 0, static_cast<std::size_t>(width));
  std::memcpy(at, text.data(), text.size());
  d.rpc_position += static_cast<std::uint32_t>(width);
  return 1;
}

int IContainerFun::AddRPCCallReqAsChar(char value) { return Add(*data_, value); }
int IContainerFun::AddRPCCallReqAsShort(int value) { return Add(*data_, static_cast<std::int16_t>(value)); }
int IContainerFun::AddRPCCallReqAsInt(int value) { return Add(*data_, static_cast<std::int32_t>(value)); }
int IContainerFun::AddRPCCallReqAsInt64(std::int64_t value) { return Add(*data_, value); }
int IContainerFun::AddRPCCallReqAsFloat(float value) { return Add(*data_, value); }
int IContainerFun::AddRPCCallReqAsDouble(double value) { return Add(*data_, value); }

int IContainerFun::CallRPC(const std::string& callback, const std::string& function) {
  ContainerData& d = *data_;
  std::string name, parameters;
  if (!FinishRpc(d, function, name, parameters)) return 0;
  int id = 0;
  IFetchData* handle = d.NewRequest(callback, &id);
  if (handle == nullptr) return 0;
  if (handle->CallRPC(name.c_str(), parameters.data(), static_cast<int>(parameters.size())) != FALSE) return 1;
  d.RetireRequest(id);
  return 0;
}

int IContainerFun::Syn_CallRPC(const std::string& function) {
  ContainerData& d = *data_;
  std::string name, parameters;
  if (!FinishRpc(d, function, name, parameters)) return 0;
  int id = 0;
  IFetchData* handle = d.SyncHandleOfSession(&id);
  if (handle == nullptr) return 0;
  return handle->SynCallRPC(name.c_str(), parameters.data(), static_cast<int>(parameters.size())) != FALSE ? id
                                                                                                          : 0;
}

int IContainerFun::SeekPushBufPos(int position) {
  ContainerData& d = *data_;
  if (position < 0 || static_cast<std::int64_t>(position) >= static_cast<std::int64_t>(d.push_length) - 1) return 0;
  d.push_position = static_cast<std::uint32_t>(position);
  return 1;
}

int IContainerFun::GetPushBufPos() { return static_cast<int>(data_->push_position); }
int IContainerFun::GetPushBufLength() { return static_cast<int>(data_->push_length); }

std::string IContainerFun::PopPushBufAsString(int length) {
  ContainerData& d = *data_;
  if (length <= 0 || length > kMaxPopText || d.push_position > d.push_length ||
      d.push_length - d.push_position < static_cast<std::uint32_t>(length)) {
    return std::string();
  }
  const char* at = reinterpret_cast<const char*>(d.exchange.data() + d.push_position);
  d.push_position += static_cast<std::uint32_t>(length);
  return std::string(at, strnlen(at, static_cast<std::size_t>(length)));
}

int IContainerFun::PopPushBufAsChar() { return Pop<signed char>(*data_); }
int IContainerFun::PopPushBufAsShort() { return Pop<std::int16_t>(*data_); }
int IContainerFun::PopPushBufAsInt() { return Pop<std::int32_t>(*data_); }
std::int64_t IContainerFun::PopPushBufAsInt64() { return Pop<std::int64_t>(*data_); }
float IContainerFun::PopPushBufAsFloat() { return Pop<float>(*data_); }
double IContainerFun::PopPushBufAsDouble() { return Pop<double>(*data_); }
