#include "export/workbook/workbook_output.h"

#include "host/number_text.h"

namespace kastrel::exporter {

WorkbookOutput::WorkbookOutput(ExportFile& file, const ExportRequest& request)
    : file_(file), request_(request), numbers_(request.decimal_separator),
      workbook_(scratch_, request.creator), points_(workbook_, numbers_) {
    if (request.evaluate_roundness) {
        roundness_.emplace(workbook_);
        blocks_.emplace(request.planes, request.evaluate_position);
    }
}

void WorkbookOutput::write_line(const OutputLine& line) {
    const CNumbers::Scope c(c_numbers_);
    points_.write(line);
}

void WorkbookOutput::begin_feature(const std::string& id, std::optional<double> theo_diam) {
    if (blocks_)
        blocks_->begin_feature(id, theo_diam);
}

void WorkbookOutput::hit_read(const HitCoordinates& hit) {
    if (blocks_)
        blocks_->hit_read(hit);
}

void WorkbookOutput::commit() {
    {
        const CNumbers::Scope c(c_numbers_);
        points_.finish(request_.option == OutputOption::Option4);
        if (roundness_)
            roundness_->write(evaluate(blocks_->blocks(), blocks_->plane()), numbers_);
        workbook_.close();
    }
    scratch_.read([this](std::string_view bytes) { file_.write_bytes(bytes); });
    file_.commit();
}

} // namespace kastrel::exporter
