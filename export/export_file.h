#pragma once

#include "export/file_failure.h"
#include "export/held_file.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kastrel::exporter {

// The export file. Lines go to a temporary file, which takes the target's
// place only in commit(), so a failed run never destroys an existing file;
// where the system allows it, the temporary file cannot outlive the run
// (HeldFile).
// The temporary file stands beside the target; where the folder takes no new
// file but the target itself may be written, it stands in the system's
// temporary folder and commit() copies it over the target. So does commit()
// where moving the file would lose the target's owner, group or other names.
// A target that may not be written is refused before anything is written.
// Every line ends with CR LF.
class ExportFile {
public:
    // Throws FileError when the target may not be written or no temporary
    // file can be created. Removes what ended runs to the same target left.
    explicit ExportFile(const std::filesystem::path& target);

    // Throws FileError when the line cannot be written.
    void write_line(std::string_view line);
    // The same for a line that `append(std::string&)` adds to the file's
    // buffer itself, saving the copy of a line of its own.
    template <typename Append> void write_line_with(Append&& append) {
        if (failed_)
            throw *failed_;
        append(pending_);
        end_line();
    }
    // Bytes as they are, without a line end (a workbook's content).
    void write_bytes(std::string_view bytes);
    // Puts the written file in place of the target; throws FileError.
    void commit();

private:
    void end_line();
    void flush();

    std::filesystem::path target_;
    std::optional<HeldFile> file_;
    bool copy_over_target_ = false;
    std::string pending_;
    std::optional<FileError> failed_;
};

} // namespace kastrel::exporter
