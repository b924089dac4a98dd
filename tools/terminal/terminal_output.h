// The terminal speaks UTF-8; the module's texts are GBK.
#ifndef ORBE_TOOLS_TERMINAL_TERMINAL_OUTPUT_H_
#define ORBE_TOOLS_TERMINAL_TERMINAL_OUTPUT_H_

#include <string>

namespace orbe::terminal {

// Prints a GBK text as one UTF-8 line on standard output.
void PrintLine(const std::string& gbk);
// Prints "label: value" with a GBK value.
void PrintField(const char* label, const std::string& gbk);
// "orbe-terminal: " and the message on standard error; returns `status`.
int Fail(int status, const std::string& message);

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_TERMINAL_OUTPUT_H_
