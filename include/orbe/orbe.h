// Everything a host or a component of orbe needs: the platform layer, the
// widget library's free functions and the module's exports.
#ifndef ORBE_ORBE_H_
#define ORBE_ORBE_H_

#include "orbe/platform/types.h"
#include "orbe/platform/text.h"
#include "orbe/platform/loader.h"
#include "orbe/platform/sync.h"
#include "orbe/platform/profile.h"
#include "orbe/platform/file.h"
#include "orbe/platform/window.h"
#include "orbe/platform/message_box.h"
#include "orbe/platform/crypto.h"
#include "orbe/widgets/ctime.h"
#include "orbe/widgets/kvx_functions.h"
#include "orbe/env.h"

#endif  // ORBE_ORBE_H_
