// The module's exported environment functions: undecorated names, as a host
// looks them up with dlsym.
#ifndef ORBE_ENV_H_
#define ORBE_ENV_H_

#include <string>

extern "C" {

// "2.31 PA   :yymmddhh", the version and the hour the module was built.
std::string GetThisMoudleVersion();

}  // extern "C"

#endif  // ORBE_ENV_H_
