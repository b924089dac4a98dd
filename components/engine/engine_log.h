// Diagnostics of the engine. It has no window of its own, so what a user
// must learn (a refused proxy, a host that cannot be reached) goes to stderr.
#ifndef ORBE_COMPONENTS_ENGINE_ENGINE_LOG_H_
#define ORBE_COMPONENTS_ENGINE_ENGINE_LOG_H_

namespace orbe::engine {

// One line, prefixed with the component name.
void LogLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace orbe::engine

#endif  // ORBE_COMPONENTS_ENGINE_ENGINE_LOG_H_
