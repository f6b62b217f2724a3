#pragma once

#include "common/non_copyable.h"
#include "export/export_file.h"
#include "export/export_request.h"
#include "export/roundness/feature_blocks.h"
#include "export/run_output.h"
#include "export/workbook/c_numbers.h"
#include "export/workbook/points_sheet.h"
#include "export/workbook/roundness_sheet.h"
#include "export/workbook/scratch_book.h"
#include "export/workbook/workbook_file.h"

#include <optional>

namespace kastrel::exporter {

// The workbook: the run's lines as cells on "Messpunkte", and each feature
// block evaluated on "Rundheit". The library writes it to a scratch book;
// commit() brings the finished bytes to the target through the export file,
// with every rule the text file has.
class WorkbookOutput : public RunOutput, common::NonCopyable {
public:
    // Throws FileError.
    WorkbookOutput(ExportFile& file, const ExportRequest& request);

    void write_line(const OutputLine& line) override;
    void begin_feature(const std::string& id, std::optional<double> theo_diam) override;
    void hit_read(const HitCoordinates& hit) override;
    void commit() override;

private:
    ExportFile& file_;
    const ExportRequest& request_;
    host::NumberTexts numbers_; // the request's, as the run wrote the fields
    CNumbers c_numbers_;
    ScratchBook scratch_;
    WorkbookFile workbook_;
    PointsSheet points_;
    std::optional<RoundnessSheets> roundness_;
    std::optional<FeatureBlocks> blocks_;
};

} // namespace kastrel::exporter
