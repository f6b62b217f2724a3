#pragma once

#include "host/number_text.h"
#include "host/run_progress.h"
#include "host/variant.h"

#include <string>
#include <vector>

namespace kastrel::host {

// The IDs of the part program's features, in command order, duplicates kept;
// an ID the host gives as a number is taken as its text under `numbers`.
// A step that fails is passed over: a command whose IsFeature cannot be read
// is treated as a feature, a command whose FeatureCommand or ID cannot be read
// is left out, and a failing Commands read or enumerator step ends the walk.
// A failure that means the host is lost ends the listing: it is thrown, so a
// part of the list never passes for all of it. `progress` hears of every
// command walked; its RunCancelled ends the listing.
std::vector<std::string> list_feature_ids(const Object& part_program, const NumberTexts& numbers,
                                          RunProgress& progress);
inline std::vector<std::string> list_feature_ids(const Object& part_program,
                                                 const NumberTexts& numbers) {
    RunProgress unreported;
    return list_feature_ids(part_program, numbers, unreported);
}

} // namespace kastrel::host
