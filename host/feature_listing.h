#pragma once

#include "host/variant.h"

#include <string>
#include <vector>

namespace kastrel::host {

// The IDs of the part program's features, in command order, duplicates kept.
// A step that fails is passed over: a command whose IsFeature cannot be read
// is treated as a feature, a command whose FeatureCommand or ID cannot be read
// is left out, and a failing Commands read or enumerator step ends the walk.
std::vector<std::string> list_feature_ids(const Object& part_program);

} // namespace kastrel::host
