// The pass-through exports, kept for hosts that call them: the service
// defines no pass-through request, so they only take the global lock.
#ifndef ORBE_DATASERVICE_PASS_THROUGH_H_
#define ORBE_DATASERVICE_PASS_THROUGH_H_

extern "C" {
// 0.
int SendTPOriginalRequest();
// "".
const char* GetTPOriginalResult();
}  // extern "C"

#endif  // ORBE_DATASERVICE_PASS_THROUGH_H_
