#pragma once

#include "export/export_file.h"
#include "export/run_output.h"

#include <string>

namespace kastrel::exporter {

// The text file: each line's fields joined by their separator, as the
// spreadsheet's text import reads them.
class TextOutput : public RunOutput {
public:
    explicit TextOutput(ExportFile& file) : file_(file) {}

    void write_line(const OutputLine& line) override {
        file_.write_line_with([&line](std::string& out) { line.append_text_to(out); });
    }
    void commit() override { file_.commit(); }

private:
    ExportFile& file_;
};

} // namespace kastrel::exporter
