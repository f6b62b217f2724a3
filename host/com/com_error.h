#pragma once

#include "host/automation_error.h"
#include "host/com/com_values.h"

#include <string>
#include <windows.h>

namespace kastrel::host::com {

// The system's text for an HRESULT, or "Automatisierungsfehler 0x…" when it has none.
std::string system_message(HRESULT result);

// A failed call: the HRESULT and its system text.
AutomationError automation_error(HRESULT result);
// A failed Invoke: for DISP_E_EXCEPTION the server's code and description.
AutomationError automation_error(HRESULT result, ExceptionInfo& info);

} // namespace kastrel::host::com
