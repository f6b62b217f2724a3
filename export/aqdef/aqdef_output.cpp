#include "export/aqdef/aqdef_output.h"

#include "export/aqdef/aqdef_description.h"
#include "export/aqdef/characteristics.h"
#include "export/aqdef/existing_content.h"
#include "export/aqdef/windows_1252.h"
#include "export/roundness/roundness_row.h"

namespace kastrel::exporter {
namespace {

std::tm local_now() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    // The Windows C library keeps localtime's result per thread.
    if (const std::tm* converted = std::localtime(&now))
        local = *converted;
#else
    localtime_r(&now, &local);
#endif
    return local;
}

std::string name_without_extension(const std::filesystem::path& target) {
    const std::u8string stem = target.stem().u8string();
    return std::string(stem.begin(), stem.end());
}

} // namespace

AqdefOutput::AqdefOutput(ExportFile& file, const ExportRequest& request,
                         std::filesystem::path target)
    : file_(file), target_(std::move(target)),
      part_(request.part_number.empty() ? name_without_extension(target_) : request.part_number),
      blocks_(request.planes) {}

void AqdefOutput::begin_feature(const std::string& id, std::optional<double> theo_diam) {
    if (!began_)
        began_ = local_now();
    blocks_.begin_feature(id, theo_diam);
}

void AqdefOutput::commit() {
    const std::vector<Characteristic> all =
        characteristics(evaluate(blocks_.blocks(), blocks_.plane()));
    if (all.empty())
        throw AqdefRefused{AqdefRefused::Reason::NothingEvaluated};

    const std::optional<std::string> existing = existing_content(target_);
    // An upload service may empty the file instead of removing it.
    if (existing && !existing->empty()) {
        std::vector<std::string> numbers;
        numbers.reserve(all.size());
        for (const Characteristic& c : all)
            numbers.push_back(to_windows_1252(c.number));
        if (!read_description(*existing).matches(to_windows_1252(part_), numbers))
            throw AqdefRefused{AqdefRefused::Reason::OtherCharacteristics};
        file_.write_bytes(*existing);
        // A last line without its end would run into this run's line.
        if (!existing->ends_with('\n'))
            file_.write_bytes("\r\n");
    } else {
        file_.write_bytes(description_lines(part_, all));
    }
    file_.write_bytes(value_line(all, *began_));
    file_.commit();
}

} // namespace kastrel::exporter
