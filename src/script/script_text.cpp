#include "script/script_text.h"

#include <algorithm>

#include "orbe/platform/text.h"
#include "script/py_ptr.h"

namespace orbe {

namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

// ASCII reads the same in GBK and UTF-8: most texts a script exchanges (ids,
// numbers, names of functions) skip the codec lookup of a decode by name.
PyObject* NewScriptText(std::string_view gbk) {
  if (IsAscii(gbk)) return PyUnicode_FromStringAndSize(gbk.data(), static_cast<Py_ssize_t>(gbk.size()));
  return PyUnicode_Decode(gbk.data(), static_cast<Py_ssize_t>(gbk.size()), "gbk", "replace");
}

bool ScriptTextToGbk(PyObject* object, std::string& gbk) {
  if (PyBytes_Check(object)) {
    gbk.assign(PyBytes_AS_STRING(object), static_cast<std::size_t>(PyBytes_GET_SIZE(object)));
    return true;
  }
  const PyPtr text(PyUnicode_Check(object) ? Py_NewRef(object) : PyObject_Str(object));
  if (!text) return false;
  if (PyUnicode_IS_ASCII(text.get())) {
    gbk.assign(static_cast<const char*>(PyUnicode_DATA(text.get())),
               static_cast<std::size_t>(PyUnicode_GET_LENGTH(text.get())));
    return true;
  }
  const PyPtr bytes(PyUnicode_AsEncodedString(text.get(), "gbk", "replace"));
  if (!bytes) return false;
  gbk.assign(PyBytes_AS_STRING(bytes.get()), static_cast<std::size_t>(PyBytes_GET_SIZE(bytes.get())));
  return true;
}

PyObject* NewScriptPath(std::string_view path) {
  return PyUnicode_DecodeFSDefaultAndSize(path.data(), static_cast<Py_ssize_t>(path.size()));
}

std::size_t GbkCutLength(std::string_view text, std::size_t max) {
  if (text.size() <= max) return text.size();
  std::size_t end = 0;
  while (end < max) {
    const std::size_t step = IsGbkLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + step > max) break;
    end += step;
  }
  return end;
}

std::string CutGbk(const std::string& text, std::size_t max) { return text.substr(0, GbkCutLength(text, max)); }

}  // namespace orbe
