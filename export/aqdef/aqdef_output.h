#pragma once

#include "export/export_file.h"
#include "export/export_request.h"
#include "export/roundness/feature_blocks.h"
#include "export/run_output.h"

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace kastrel::exporter {

// Why an AQDEF file was not written although the run went well.
struct AqdefRefused {
    enum class Reason {
        NothingEvaluated,     // no feature block to evaluate
        OtherCharacteristics, // the existing file describes another part or characteristics
    };
    Reason reason;
};

// The AQDEF file for an SPC system: the evaluation's characteristics and one
// value line per run. An existing file with the same description is
// continued: its bytes, then this run's line, go through the export file to
// the target, so that the target changes only as a whole. It is read at the
// end of the run, so that a file an upload service took meanwhile is not
// brought back. commit() throws AqdefRefused or FileError.
class AqdefOutput : public RunOutput {
public:
    AqdefOutput(ExportFile& file, const ExportRequest& request, std::filesystem::path target);

    bool takes_lines() const override { return false; }
    void write_line(const OutputLine&) override {}
    void begin_feature(const std::string& id, std::optional<double> theo_diam) override;
    void hit_read(const HitCoordinates& hit) override { blocks_.hit_read(hit); }
    void commit() override;

private:
    ExportFile& file_;
    std::filesystem::path target_;
    std::string part_;
    FeatureBlocks blocks_;
    std::optional<std::tm> began_; // local time, when the first block's hits began
};

} // namespace kastrel::exporter
