#pragma once

#include "export/hit_reader.h"
#include "export/output_line.h"

#include <optional>
#include <string>

namespace kastrel::exporter {

// Where a run's output goes: the lines of the file in order, and the feature
// blocks they come from with the hits as read. Every call may throw
// FileError; once one has, the run is over and the target as it was.
class RunOutput {
public:
    virtual ~RunOutput() = default;

    // False for an output that holds only the evaluation: the run then builds
    // no lines, and the output option does not matter.
    virtual bool takes_lines() const { return true; }
    virtual void write_line(const OutputLine& line) = 0;
    // A selected feature's block begins: its ID as listed and its TheoDiam,
    // if it could be read. The hits read for it follow.
    virtual void begin_feature(const std::string& /*id*/, std::optional<double> /*theo_diam*/) {}
    virtual void hit_read(const HitCoordinates& /*hit*/) {}
    // The run has ended without error: the output takes the target's place.
    virtual void commit() = 0;
};

} // namespace kastrel::exporter
