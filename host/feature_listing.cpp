#include "host/feature_listing.h"

#include "host/automation_error.h"
#include "host/dispatch.h"

#include <optional>

namespace kastrel::host {
namespace {

// A failed step is passed over, unless the host is gone.
void pass_over(const AutomationError& error) {
    if (is_host_lost(error))
        throw error;
}

// Null counts as false; a value that cannot be read counts as a passed test.
bool is_feature(Dispatch& command, const NumberTexts& numbers) {
    try {
        return command.get("IsFeature").to_bool(numbers);
    } catch (const AutomationError& error) {
        pass_over(error);
        return true;
    }
}

std::optional<std::string> feature_id(Dispatch& command, const NumberTexts& numbers) {
    try {
        const Object feature = command.get("FeatureCommand").to_object();
        if (!feature)
            return std::nullopt;
        return feature->get("ID").to_text(numbers);
    } catch (const AutomationError& error) {
        pass_over(error);
        return std::nullopt;
    }
}

} // namespace

std::vector<std::string> list_feature_ids(const Object& part_program, const NumberTexts& numbers,
                                          RunProgress& progress) {
    std::vector<std::string> ids;
    if (!part_program)
        return ids;
    std::unique_ptr<Enumerator> commands;
    try {
        const Object collection = part_program->get("Commands").to_object();
        if (!collection)
            return ids;
        commands = collection->enumerate();
    } catch (const AutomationError& error) {
        pass_over(error);
        return ids;
    }
    while (true) {
        progress.listed(static_cast<int>(ids.size()));
        std::optional<Variant> item;
        try {
            item = commands->next();
        } catch (const AutomationError& error) {
            pass_over(error);
            break;
        }
        if (!item)
            break;
        Object command;
        try {
            command = item->to_object();
        } catch (const AutomationError&) {
            continue;
        }
        if (!command || !is_feature(*command, numbers))
            continue;
        if (auto id = feature_id(*command, numbers); id && !id->empty())
            ids.push_back(std::move(*id));
    }
    return ids;
}

} // namespace kastrel::host
