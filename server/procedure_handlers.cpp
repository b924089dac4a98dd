#include "procedure_handlers.h"

#include "procedure_registry.h"

namespace orbe::server {
namespace {

std::int32_t Finish(std::string* out, wire::ReplyTo to, std::int32_t status) {
  wire::AppendEndPacket(out, to, status);
  return status;
}

std::int32_t Answer(std::string* out, wire::ReplyTo to, const CallOutcome& outcome) {
  if (outcome.status == CallStatus::kStorageFailed) return Finish(out, to, wire::kStatusServerError);
  if (!wire::AppendDataPacket(out, to, 100, wire::EncodeCallReply(outcome.status, outcome.result))) return Finish(out, to, wire::kStatusServerError);
  return Finish(out, to, wire::kStatusComplete);
}

}  // namespace

std::int32_t HandleCall(const ServiceContext& context, const wire::RequestFrame& frame, wire::ReplyTo to,
                        std::string* out) {
  const auto request = wire::DecodeCallRequest(frame.body);
  if (!request) return Finish(out, to, wire::kStatusMalformed);
  return Answer(out, to, CallProcedure(*context.reader, *request));
}

std::int32_t HandleReload(const ServiceContext&, const wire::RequestFrame& frame, wire::ReplyTo to,
                          std::string* out) {
  const auto request = wire::DecodeCallRequest(frame.body);
  if (!request) return Finish(out, to, wire::kStatusMalformed);
  return Answer(out, to, CallOutcome{ReloadProcedure(request->name), {}});
}

}  // namespace orbe::server
