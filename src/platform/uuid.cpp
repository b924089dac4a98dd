#include <uuid/uuid.h>

#include "orbe/platform/crypto.h"

namespace orbe {

std::string NewUuidText() {
  uuid_t uuid;
  // Random (version 4) as the Windows call makes them: no MAC address or clock leaks into names.
  uuid_generate_random(uuid);
  if (uuid_is_null(uuid)) return std::string();
  char text[37] = {};
  uuid_unparse_lower(uuid, text);
  return std::string(text);
}

}  // namespace orbe
