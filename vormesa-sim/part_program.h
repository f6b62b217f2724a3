#pragma once

// The part program the stand-in host serves, as read from its JSON file.
// Standard C++ only, so a Windows stand-in can reuse the loader.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vormesa_sim {

// A number or text exactly as written in the file; text is served as text so
// that values which are no numbers can be tested.
using FileValue = std::variant<double, std::string>;

// Data kinds of GetHit.
inline constexpr std::int32_t data_kind_nominal = 2;
inline constexpr std::int32_t data_kind_actual = 3;

struct Hit {
    std::array<FileValue, 3> actual;
    std::array<FileValue, 3> nominal;
    // "actual", "nominal" (the GetHit call) or "actual.X" … "nominal.Z".
    std::set<std::string> failures;

    const std::array<FileValue, 3>& coordinates(std::int32_t data_kind) const {
        return data_kind == data_kind_nominal ? nominal : actual;
    }
};

struct IsFeatureNull {
    bool operator==(const IsFeatureNull&) const = default;
};
using IsFeatureOverride = std::variant<bool, IsFeatureNull>;
// A hit count as written in the file; text is served as text.
using CountValue = std::variant<std::int32_t, std::string>;

struct Command {
    std::string type;
    FileValue id = std::string();
    FileValue theo_diam = 0.0;
    std::vector<Hit> hits;
    std::optional<IsFeatureOverride> is_feature_override;
    std::optional<CountValue> num_hits_override;
    // Member names whose reads fail: IsFeature, FeatureCommand, ID, TheoDiam, NumHits.
    std::set<std::string> failures;

    bool is_feature_type() const { return type == "feature"; }
    bool fails(std::string_view member) const { return failures.contains(std::string(member)); }
};

struct PartProgram {
    std::string name; // empty when the file gives none
    std::vector<Command> commands;
};

// A part-program file that cannot be used. The message names the file, the
// place (JSON pointer or line/column) and the problem.
class PartProgramError : public std::runtime_error {
public:
    PartProgramError(std::string file, std::string place, std::string problem);

    const std::string& file() const noexcept { return file_; }
    const std::string& place() const noexcept { return place_; }
    const std::string& problem() const noexcept { return problem_; }

private:
    std::string file_;
    std::string place_;
    std::string problem_;
};

// `file_label` is how the file is named in error messages.
PartProgram parse_part_program(std::string_view json_text, const std::string& file_label);
PartProgram load_part_program(const std::filesystem::path& file);

} // namespace vormesa_sim
