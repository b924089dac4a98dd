#include "env/build_stamp.h"
#include "orbe/env.h"
#include "orbe/platform/text.h"

namespace {
constexpr const char* kModuleVersion = "2.31";
}

std::string GetThisMoudleVersion() {
  return orbe::Format("%s PA   :%s", kModuleVersion, orbe::BuildStamp(orbe::ModuleBuildTime()).c_str());
}
