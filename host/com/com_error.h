#pragma once

#include "common/com/com_values.h"
#include "host/automation_error.h"

#include <string>
#include <windows.h>

namespace kastrel::host::com {

// The system's own text for an HRESULT, for the log; empty when it has none.
std::string system_message(HRESULT result);
// The HRESULT in hexadecimal and its system text, for the log.
std::string code_and_message(HRESULT result);

// A failed call: the HRESULT, and the system's text as detail.
AutomationError automation_error(HRESULT result);
// A failed Invoke: for DISP_E_EXCEPTION the server's code and description.
AutomationError automation_error(HRESULT result, common::com::ExceptionInfo& info);

} // namespace kastrel::host::com
