#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kastrel::exporter {

// The bytes of the file at `target`; nothing when there is no such file.
// Throws FileError when it exists but cannot be read.
std::optional<std::string> existing_content(const std::filesystem::path& target);

} // namespace kastrel::exporter
