#pragma once

#include <filesystem>
#include <string_view>

namespace kastrel::exporter {

// The export's temporary files are named "<stem>.kastrel-<tag>.tmp", the stem
// made from the target, the tag six hexadecimal digits. A run finds by it
// what an ended run to the same target left behind, and nothing else.

// Beside the target: the target's name, or for a long name its start and a
// hash of the whole name, so the temporary name stays short.
std::filesystem::path temporary_stem_beside(const std::filesystem::path& target);
// In the system's temporary folder, which all targets share: the start of the
// name and a hash of the target's whole path.
std::filesystem::path temporary_stem_elsewhere(const std::filesystem::path& target);

std::filesystem::path temporary_name(const std::filesystem::path& stem, std::string_view tag);
// Whether `name` (a file name, no folder) is a temporary name for `stem`.
bool is_temporary_for(const std::filesystem::path& name, const std::filesystem::path& stem);

} // namespace kastrel::exporter
