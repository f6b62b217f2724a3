#include "export/export_run.h"

#include "export/export_file.h"
#include "export/hit_reader.h"
#include "export/output_lines.h"
#include "export/plane_block.h"
#include "export/read_log.h"
#include "export/summary_block.h"

#include <string>
#include <unordered_map>

namespace kastrel::exporter {
namespace {

struct NoOutputOption {};

// How many selected entries carry each text: one look-up per feature instead
// of a scan of the whole list.
std::unordered_map<std::string, int> count_selected(const ExportRequest& request) {
    std::unordered_map<std::string, int> counts;
    for (std::size_t i = 0; i < request.entries.size(); ++i)
        if (i < request.selected.size() && request.selected[i])
            ++counts[request.entries[i]];
    return counts;
}

class Run {
public:
    Run(const ExportRequest& request, ExportFile& file)
        : request_(request), texts_(request.decimal_separator), file_(file) {}

    void walk(host::Dispatch& commands) {
        const auto selected = count_selected(request_);
        if (request_.option == OutputOption::Option4)
            file_.write_line(option4_header());

        std::unique_ptr<host::Enumerator> walker;
        try {
            walker = commands.enumerate();
        } catch (const host::AutomationError& error) {
            log_.failed(error);
            return;
        }
        while (true) {
            std::optional<host::Variant> item;
            try {
                item = walker->next();
            } catch (const host::AutomationError& error) {
                log_.failed(error); // the rest of the commands cannot be reached
                break;
            }
            if (!item)
                break;
            visit_command(*item, selected);
        }
    }

    void finish() {
        if (request_.option == OutputOption::Option4)
            for (const std::string& line : tables_.summary_lines(texts_))
                file_.write_line(line);
    }

    int unread() const { return log_.unread(); }

private:
    void visit_command(const host::Variant& item,
                       const std::unordered_map<std::string, int>& selected) {
        host::Object feature;
        std::string id;
        try {
            const host::Object command = item.to_object();
            if (!command || !is_feature(*command))
                return;
            feature = command->get("FeatureCommand").to_object();
            if (!feature)
                throw host::AutomationError(host::ErrorKind::ObjectNotSet, "FeatureCommand");
            id = feature->get("ID").to_text(texts_);
        } catch (const host::AutomationError& error) {
            log_.failed(error); // skipped: its ID is unknown, so nothing can be matched
            return;
        }

        std::optional<double> theo_diam;
        bool theo_diam_failed = false;
        try {
            theo_diam = feature->get("TheoDiam").to_double(texts_);
        } catch (const host::AutomationError& error) {
            log_.check_lost(error);
            theo_diam_failed = true;
        }

        const auto match = selected.find(id);
        if (match == selected.end())
            return;
        if (theo_diam_failed)
            log_.missing();
        for (int k = 0; k < match->second; ++k)
            write_feature(*feature, theo_diam);
    }

    // A null IsFeature counts as false; one that cannot be read counts as true.
    bool is_feature(host::Dispatch& command) {
        try {
            return command.get("IsFeature").to_bool(texts_);
        } catch (const host::AutomationError& error) {
            log_.check_lost(error);
            return true;
        }
    }

    void write_feature(host::Dispatch& feature, std::optional<double> theo_diam) {
        double hit_count = 0;
        try {
            hit_count = feature.get("NumHits").to_double(texts_);
        } catch (const host::AutomationError& error) {
            log_.failed(error);
            tables_.set_hit_count(std::nullopt);
            return;
        }
        tables_.set_hit_count(hit_count);
        for (double j = 1; j <= hit_count; ++j)
            write_hit(feature, j, hit_count, theo_diam);
    }

    void write_hit(host::Dispatch& feature, double j, double hit_count,
                   std::optional<double> theo_diam) {
        const HitCoordinates hit = read_hit(feature, j, texts_, log_);
        const PlaneValues plane = plane_block(request_.planes, hit, theo_diam);
        const HitRecord record = hit_record(j, hit_count, plane, texts_);
        tables_.record_hit(j, record.radius_text, record.hit_angle);
        if (request_.option == OutputOption::None)
            throw NoOutputOption{};
        file_.write_line(output_line(request_.option, request_.planes, hit, plane, record, texts_));
    }

    const ExportRequest& request_;
    NumberTexts texts_;
    ExportFile& file_;
    ReadLog log_;
    SummaryTables tables_;
};

} // namespace

ExportResult run_export(host::Dispatch& commands, const ExportRequest& request,
                        const std::filesystem::path& target) {
    ExportResult result;
    try {
        ExportFile file(target);
        Run run(request, file);
        run.walk(commands);
        run.finish();
        file.commit();
        result.unread_values = run.unread();
    } catch (const FileError& error) {
        result.status = ExportResult::Status::FileFailed;
        result.file_failure = error.failure();
    } catch (const HostLost& lost) {
        result.status = ExportResult::Status::HostLost;
        result.host_failure = lost.error;
    } catch (const NoOutputOption&) {
        result.status = ExportResult::Status::NoOutputOption;
    }
    return result;
}

} // namespace kastrel::exporter
