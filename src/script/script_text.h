// Texts between the module (GBK bytes) and the interpreter (str), and paths
// (bytes that must name the same file on both sides). Interpreter held.
#ifndef ORBE_SCRIPT_SCRIPT_TEXT_H_
#define ORBE_SCRIPT_SCRIPT_TEXT_H_

#include "script/python_api.h"

#include <string>
#include <string_view>

namespace orbe {

// A str decoded from GBK; an invalid byte becomes U+FFFD. New reference.
PyObject* NewScriptText(std::string_view gbk);
// A str, bytes or any object's str() as GBK; a character GBK lacks becomes
// '?'. False with the interpreter error pending.
bool ScriptTextToGbk(PyObject* object, std::string& gbk);
// A path as the interpreter's file functions will encode it back to the
// same bytes. New reference.
PyObject* NewScriptPath(std::string_view path);
// Cuts to at most `max` bytes without splitting a GBK character.
std::string CutGbk(const std::string& text, std::size_t max);
// The length CutGbk keeps.
std::size_t GbkCutLength(std::string_view text, std::size_t max);

}  // namespace orbe

#endif  // ORBE_SCRIPT_SCRIPT_TEXT_H_
