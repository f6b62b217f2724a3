#pragma once

#include "export/file_failure.h"
#include "host/automation_error.h"

#include <optional>
#include <string>
#include <vector>

namespace kastrel::exporter {

enum class OutputOption { None, Option1, Option2, Option3, Option4 };

// Option1..Option4 by their number; another number is no option.
constexpr OutputOption output_option(int number) {
    switch (number) {
    case 1:
        return OutputOption::Option1;
    case 2:
        return OutputOption::Option2;
    case 3:
        return OutputOption::Option3;
    case 4:
        return OutputOption::Option4;
    default:
        return OutputOption::None;
    }
}

// Check1 (XY), Check2 (XZ), Check3 (YZ).
struct PlaneSwitches {
    bool xy = false;
    bool xz = false;
    bool yz = false;
};

// What the export reads of the window, taken once when the run starts.
struct ExportRequest {
    std::vector<std::string> entries; // List1, in list order
    std::vector<bool> selected;       // one flag per entry
    OutputOption option = OutputOption::Option4;
    PlaneSwitches planes;
    std::string decimal_separator = ",";
    // The program as a workbook's properties name it ("Kastrel 1.1.0.1").
    std::string creator;
    // Whether a workbook evaluates the features on its roundness sheets:
    // always in the program; off only to measure what the evaluation costs.
    bool evaluate_roundness = true;
    // Whether it also evaluates where each bore should be (from the hits'
    // nominal points): likewise off only to measure its cost.
    bool evaluate_position = true;
    // An AQDEF file's part number (K1001); empty: the file's name without its
    // extension.
    std::string part_number;
};

struct ExportResult {
    enum class Status {
        Written,          // the file is in place (see the counts and the unmatched entries)
        NoOutputOption,   // no option on when the first hit was reached
        FileFailed,       // the file could not be written; an existing one is unchanged
        TargetIncomplete, // copying the output over the target failed midway
        HostLost,         // the host stopped answering; an existing file is unchanged
        Cancelled,        // the user gave the run up; an existing file is unchanged
        // An AQDEF file not written, an existing one unchanged: no feature
        // block was evaluated, or the file describes other characteristics.
        NothingEvaluated,
        OtherCharacteristics,
    };
    Status status = Status::Written;
    int unread_values = 0;     // host values that could not be read
    int uncomputed_values = 0; // values whose result is no finite number
    // Selected entries that matched no feature of the part program, in list
    // order, each text once: nothing was written for them.
    std::vector<std::string> unmatched_entries;
    FileFailure file_failure;                          // for FileFailed, TargetIncomplete
    std::optional<host::AutomationError> host_failure; // for HostLost: the call that found it
};

} // namespace kastrel::exporter
