// The text rows of the method table, bound to the container's operations.
#include "script/python_api.h"

#include "orbe/widgets/kvx_container.h"
#include "script/script_binding.h"
#include "script/script_widget_rows.h"

namespace orbe::script {

#define ORBE_SCRIPT_METHOD ORBE_WIDGET_ROWS_DEFINE
#include "script/script_widget_rows_text.inc"
#undef ORBE_SCRIPT_METHOD

}  // namespace orbe::script
