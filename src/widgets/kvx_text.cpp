#include "orbe/widgets/kvx_functions.h"

// Texts stay GBK inside the module and are converted to UTF-8 once, where they
// leave it (terminal, HTML, Python). Converting here as well would convert
// twice, so the display form is the text itself.
std::string _F(const std::string& text) { return text; }

std::string _J(const std::string& text) { return text; }

// Rendering is HTML/SVG, where the font name goes into a font-family list with
// its fallbacks; the name is passed on as given.
std::string _FFONT(const std::string& font_name) { return font_name; }
