// The three host callbacks a terminal registers with RegisterCallBack, over
// one process-wide HostMarket.
#ifndef ORBE_TOOLS_TERMINAL_HOST_HOST_CALLBACKS_H_
#define ORBE_TOOLS_TERMINAL_HOST_HOST_CALLBACKS_H_

#include <cstdio>
#include <string>
#include <vector>

#include "orbe/host/host_callbacks.h"

namespace orbe {

class HostMarket;

// The market the callbacks answer from (not owned); null makes every
// callback answer 0.
void SetCallbackMarket(HostMarket* market);
HostMarket* CallbackMarket();

// A switch request as the host recorded it.
struct HostSwitchRequest {
  int kind = 0;
  std::vector<std::string> codes;  // kind 12: one code; kind 9: the saved codes
  std::string text;                // other kinds: the target text
};
std::vector<HostSwitchRequest> RecordedSwitchRequests();
void ClearRecordedSwitchRequests();
// Where each switch request is also printed (UTF-8), or null for nowhere.
void SetSwitchEcho(std::FILE* stream);


// The callbacks, with the shapes of DataFuncProc, SwitchFuncProc and
// CallbackFuncProc.
int HostDataFunc(int* context, int minusOne, int code, void* buffer, short count, HostValue7 first,
                 HostValue7 second, int flag, int zero);
int HostSwitchFunc(const void* target, int market, const void* data, int dataLength, int kind, int subKind,
                   int zero);
int HostCallbackFunc(int command, const HostValue7* value, int size, void* buffer, int* bufferLength,
                     int zero);

}  // namespace orbe

#endif  // ORBE_TOOLS_TERMINAL_HOST_HOST_CALLBACKS_H_
