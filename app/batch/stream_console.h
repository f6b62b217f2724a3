#pragma once

#include "app/batch/batch_run.h"

namespace kastrel::app::batch {

// Standard output and standard error as they are (UTF-8 on Linux).
class StreamConsole : public Console {
public:
    void out(std::string_view line) override;
    void err(std::string_view line) override;
};

} // namespace kastrel::app::batch
