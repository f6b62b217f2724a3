#include "export/export_run.h"

#include "export/aqdef/aqdef_output.h"
#include "export/export_file.h"
#include "export/file_type.h"
#include "export/hit_reader.h"
#include "export/output_lines.h"
#include "export/plane_block.h"
#include "export/read_log.h"
#include "export/roundness/feature_blocks.h"
#include "export/summary_block.h"
#include "export/text_output.h"
#include "export/workbook/workbook_output.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace kastrel::exporter {
namespace {

struct NoOutputOption {};

bool is_selected(const ExportRequest& request, std::size_t i) {
    return i < request.selected.size() && request.selected[i];
}

// How many selected entries carry a text, and whether a feature had it as its ID.
struct SelectedText {
    int count = 0;
    bool matched = false;
};

// One look-up per feature instead of a scan of the whole list.
std::unordered_map<std::string, SelectedText> count_selected(const ExportRequest& request) {
    std::unordered_map<std::string, SelectedText> counts;
    for (std::size_t i = 0; i < request.entries.size(); ++i)
        if (is_selected(request, i))
            ++counts[request.entries[i]].count;
    return counts;
}

int selected_total(const std::unordered_map<std::string, SelectedText>& selected) {
    int total = 0;
    for (const auto& [id, text] : selected)
        total += text.count;
    return total;
}

// An evaluation's output: no lines, only the feature blocks.
class BlocksOutput : public RunOutput {
public:
    explicit BlocksOutput(const PlaneSwitches& planes) : blocks_(planes) {}

    bool takes_lines() const override { return false; }
    void write_line(const OutputLine&) override {}
    void begin_feature(const std::string& id, std::optional<double> theo_diam) override {
        blocks_.begin_feature(id, theo_diam);
    }
    void hit_read(const HitCoordinates& hit) override { blocks_.hit_read(hit); }
    void commit() override {}

    const FeatureBlocks& blocks() const noexcept { return blocks_; }

private:
    FeatureBlocks blocks_;
};

class Run {
public:
    Run(const ExportRequest& request, RunOutput& output, host::RunProgress& progress)
        : request_(request), selected_(count_selected(request)), texts_(request.decimal_separator),
          fields_(texts_), output_(output), progress_(progress),
          selected_total_(selected_total(selected_)) {}

    void walk(host::Dispatch& commands) {
        if (request_.option == OutputOption::Option4 && output_.takes_lines())
            output_.write_line(option4_header());

        std::unique_ptr<host::Enumerator> walker;
        try {
            walker = commands.enumerate();
        } catch (const host::AutomationError& error) {
            log_.failed(error);
            return;
        }
        while (true) {
            progress_.command_walked();
            std::optional<host::Variant> item;
            try {
                item = walker->next();
            } catch (const host::AutomationError& error) {
                log_.failed(error); // the rest of the commands cannot be reached
                break;
            }
            if (!item)
                break;
            visit_command(*item);
        }
    }

    void finish() {
        if (request_.option == OutputOption::Option4 && output_.takes_lines())
            for (const OutputLine& line : tables_.summary_lines(fields_))
                output_.write_line(line);
    }

    int unread() const { return log_.unread(); }
    int uncomputed() const { return fields_.uncomputed(); }

    // The selected entries no feature had as its ID, each text once.
    std::vector<std::string> unmatched() const {
        std::vector<std::string> texts;
        std::unordered_set<std::string_view> named;
        for (std::size_t i = 0; i < request_.entries.size(); ++i) {
            const std::string& text = request_.entries[i];
            if (is_selected(request_, i) && !selected_.at(text).matched &&
                named.insert(text).second)
                texts.push_back(text);
        }
        return texts;
    }

private:
    void visit_command(const host::Variant& item) {
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

        const auto match = selected_.find(id);
        if (match == selected_.end())
            return;
        match->second.matched = true;
        if (theo_diam_failed)
            log_.missing();
        ++matched_;
        progress_.feature_started(id, matched_, std::max(matched_, selected_total_));
        for (int k = 0; k < match->second.count; ++k)
            write_feature(*feature, id, theo_diam);
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

    void write_feature(host::Dispatch& feature, const std::string& id,
                       std::optional<double> theo_diam) {
        output_.begin_feature(id, theo_diam);
        double hit_count = 0;
        try {
            hit_count = feature.get("NumHits").to_double(texts_);
        } catch (const host::AutomationError& error) {
            log_.failed(error);
            tables_.set_hit_count(std::nullopt);
            return;
        }
        tables_.set_hit_count(hit_count);
        for (double j = 1; j <= hit_count; ++j) {
            progress_.hit_started(j, hit_count);
            write_hit(feature, j, hit_count, theo_diam);
        }
    }

    void write_hit(host::Dispatch& feature, double j, double hit_count,
                   std::optional<double> theo_diam) {
        const HitCoordinates hit = read_hit(feature, j, texts_, log_);
        output_.hit_read(hit);
        if (!output_.takes_lines())
            return;
        const PlaneValues plane = plane_block(request_.planes, hit, theo_diam);
        const HitRecord record = hit_record(j, hit_count, plane, texts_);
        tables_.record_hit(j, record.radius_text, record.hit_angle);
        if (request_.option == OutputOption::None)
            throw NoOutputOption{};
        output_.write_line(
            output_line(request_.option, request_.planes, hit, plane, record, fields_));
    }

    const ExportRequest& request_;
    std::unordered_map<std::string, SelectedText> selected_;
    NumberTexts texts_;
    FieldTexts fields_;
    RunOutput& output_;
    ReadLog log_;
    SummaryTables tables_;
    host::RunProgress& progress_;
    int selected_total_ = 0;
    int matched_ = 0;
};

// What ended a run early, as its result says it.
template <typename Body> ExportResult guarded(Body body) {
    ExportResult result;
    try {
        body(result);
    } catch (const FileError& error) {
        result.status = error.target_changed() ? ExportResult::Status::TargetIncomplete
                                               : ExportResult::Status::FileFailed;
        result.file_failure = error.failure();
    } catch (const HostLost& lost) {
        result.status = ExportResult::Status::HostLost;
        result.host_failure = lost.error;
    } catch (const AqdefRefused& refused) {
        result.status = refused.reason == AqdefRefused::Reason::NothingEvaluated
                            ? ExportResult::Status::NothingEvaluated
                            : ExportResult::Status::OtherCharacteristics;
    } catch (const NoOutputOption&) {
        result.status = ExportResult::Status::NoOutputOption;
    } catch (const host::RunCancelled&) {
        // The file's destructor has taken the temporary file away.
        result.status = ExportResult::Status::Cancelled;
    }
    return result;
}

} // namespace

ExportResult run_export(host::Dispatch& commands, const ExportRequest& request,
                        const std::filesystem::path& target, host::RunProgress& progress) {
    return guarded([&](ExportResult& result) {
        ExportFile file(target);
        std::unique_ptr<RunOutput> output;
        switch (file_type_of(target)) {
        case FileType::Workbook:
            output = std::make_unique<WorkbookOutput>(file, request);
            break;
        case FileType::Aqdef:
            output = std::make_unique<AqdefOutput>(file, request, target);
            break;
        case FileType::Text:
            output = std::make_unique<TextOutput>(file);
            break;
        }
        Run run(request, *output, progress);
        run.walk(commands);
        run.finish();
        output->commit();
        result.unread_values = run.unread();
        result.uncomputed_values = run.uncomputed();
        result.unmatched_entries = run.unmatched();
    });
}

Evaluation run_evaluation(host::Dispatch& commands, const ExportRequest& request,
                          host::RunProgress& progress) {
    Evaluation evaluation;
    evaluation.result = guarded([&](ExportResult& result) {
        BlocksOutput output(request.planes);
        Run run(request, output, progress);
        run.walk(commands);
        result.unread_values = run.unread();
        result.unmatched_entries = run.unmatched();
        evaluation.rows = evaluate(output.blocks().blocks(), output.blocks().plane());
    });
    return evaluation;
}

} // namespace kastrel::exporter
