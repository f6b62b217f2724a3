#pragma once

// The export writes its numbers by the host platform's number text rules.
#include "host/number_text.h"

namespace kastrel::exporter {
using host::NumberTexts;
} // namespace kastrel::exporter
