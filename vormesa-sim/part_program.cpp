#include "vormesa-sim/part_program.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

namespace vormesa_sim {

namespace {

using nlohmann::json;

const std::array<const char*, 5> command_failure_names = {"IsFeature", "FeatureCommand", "ID",
                                                          "TheoDiam", "NumHits"};
const std::array<const char*, 8> hit_failure_names = {
    "actual", "nominal", "actual.X", "actual.Y", "actual.Z", "nominal.X", "nominal.Y", "nominal.Z"};

std::string join(const auto& names) {
    std::string out;
    for (const char* name : names) {
        out += out.empty() ? "" : ", ";
        out += name;
    }
    return out;
}

// Walks the parsed document and reports the first problem with its JSON pointer.
class Reader {
public:
    explicit Reader(const std::string& file) : file_(file) {}

    [[noreturn]] void fail(const std::string& place, const std::string& problem) const {
        throw PartProgramError(file_, place.empty() ? "/" : place, problem);
    }

    const json& member(const json& object, const std::string& place, const char* key) const {
        auto it = object.find(key);
        if (it == object.end())
            fail(place + "/" + key, "Pflichtfeld fehlt");
        return *it;
    }

    void expect_object(const json& value, const std::string& place) const {
        if (!value.is_object())
            fail(place, "Objekt erwartet");
    }

    void expect_known_keys(const json& object, const std::string& place,
                           std::initializer_list<const char*> known) const {
        for (const auto& [key, value] : object.items()) {
            bool found = false;
            for (const char* name : known)
                found = found || key == name;
            if (!found)
                fail(place + "/" + key, "unbekanntes Feld");
        }
    }

    std::string text(const json& value, const std::string& place) const {
        if (!value.is_string())
            fail(place, "Text erwartet");
        return value.get<std::string>();
    }

    FileValue number_or_text(const json& value, const std::string& place) const {
        if (value.is_string())
            return value.get<std::string>();
        if (value.is_number())
            return value.get<double>();
        fail(place, "Zahl oder Text erwartet");
    }

    std::set<std::string> failures(const json& value, const std::string& place,
                                   const auto& allowed) const {
        if (!value.is_array())
            fail(place, "Liste erwartet");
        std::set<std::string> names;
        for (std::size_t i = 0; i < value.size(); ++i) {
            const std::string item_place = place + "/" + std::to_string(i);
            std::string name = text(value[i], item_place);
            bool known = false;
            for (const char* allowed_name : allowed)
                known = known || name == allowed_name;
            if (!known)
                fail(item_place,
                     "unbekannter Fehlername '" + name + "' (erlaubt: " + join(allowed) + ")");
            names.insert(std::move(name));
        }
        return names;
    }

    std::array<FileValue, 3> coordinates(const json& value, const std::string& place) const {
        if (!value.is_array() || value.size() != 3)
            fail(place, value.is_array() ? "Liste mit 3 Koordinaten erwartet, " +
                                               std::to_string(value.size()) + " gefunden"
                                         : "Liste mit 3 Koordinaten erwartet");
        return {number_or_text(value[0], place + "/0"), number_or_text(value[1], place + "/1"),
                number_or_text(value[2], place + "/2")};
    }

    CountValue hit_count(const json& value, const std::string& place) const {
        if (value.is_string())
            return value.get<std::string>();
        const bool fits = value.is_number_integer() && value.get<std::int64_t>() >= 0 &&
                          value.get<std::int64_t>() <= std::numeric_limits<std::int32_t>::max();
        if (!fits)
            fail(place, "ganze Zahl von 0 bis 2147483647 oder Text erwartet");
        return static_cast<std::int32_t>(value.get<std::int64_t>());
    }

    Hit hit(const json& value, const std::string& place) const {
        expect_object(value, place);
        expect_known_keys(value, place, {"actual", "nominal", "fail"});
        Hit result;
        result.actual = coordinates(member(value, place, "actual"), place + "/actual");
        result.nominal = coordinates(member(value, place, "nominal"), place + "/nominal");
        if (value.contains("fail"))
            result.failures = failures(value["fail"], place + "/fail", hit_failure_names);
        return result;
    }

    Command command(const json& value, const std::string& place) const {
        expect_object(value, place);
        expect_known_keys(value, place,
                          {"type", "id", "theoDiam", "hits", "fail", "isFeature", "numHits"});
        Command result;
        result.type = text(member(value, place, "type"), place + "/type");
        if (value.contains("id"))
            result.id = number_or_text(value["id"], place + "/id");
        if (value.contains("theoDiam"))
            result.theo_diam = number_or_text(value["theoDiam"], place + "/theoDiam");
        if (value.contains("hits")) {
            const json& hits = value["hits"];
            if (!hits.is_array())
                fail(place + "/hits", "Liste erwartet");
            for (std::size_t i = 0; i < hits.size(); ++i)
                result.hits.push_back(hit(hits[i], place + "/hits/" + std::to_string(i)));
        }
        if (value.contains("fail"))
            result.failures = failures(value["fail"], place + "/fail", command_failure_names);
        if (value.contains("isFeature")) {
            const json& is_feature = value["isFeature"];
            if (is_feature.is_null())
                result.is_feature_override = IsFeatureNull{};
            else if (is_feature.is_boolean())
                result.is_feature_override = is_feature.get<bool>();
            else
                fail(place + "/isFeature", "true, false oder null erwartet");
        }
        if (value.contains("numHits"))
            result.num_hits_override = hit_count(value["numHits"], place + "/numHits");
        return result;
    }

    PartProgram program(const json& document) const {
        expect_object(document, "");
        expect_known_keys(document, "", {"name", "commands"});
        PartProgram result;
        if (document.contains("name"))
            result.name = text(document["name"], "/name");
        const json& commands = member(document, "", "commands");
        if (!commands.is_array())
            fail("/commands", "Liste erwartet");
        for (std::size_t i = 0; i < commands.size(); ++i)
            result.commands.push_back(command(commands[i], "/commands/" + std::to_string(i)));
        return result;
    }

private:
    const std::string& file_;
};

// nlohmann reports the byte offset of a syntax error; users want line and column.
std::string line_and_column(std::string_view text, std::size_t byte) {
    const std::size_t end = std::min(byte == 0 ? 0 : byte - 1, text.size());
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return "Zeile " + std::to_string(line) + ", Spalte " + std::to_string(column);
}

// Keeps the library's reason ("syntax error while parsing value - …") but drops
// its own position prefix, which counts bytes.
std::string syntax_reason(const json::parse_error& error) {
    std::string what = error.what();
    const auto colon = what.find(": ");
    return colon == std::string::npos ? what : what.substr(colon + 2);
}

} // namespace

PartProgramError::PartProgramError(std::string file, std::string place, std::string problem)
    : std::runtime_error("Teileprogramm '" + file + "'" + (place.empty() ? "" : ": " + place) +
                         ": " + problem),
      file_(std::move(file)), place_(std::move(place)), problem_(std::move(problem)) {}

PartProgram parse_part_program(std::string_view json_text, const std::string& file_label) {
    json document;
    try {
        document = json::parse(json_text.begin(), json_text.end());
    } catch (const json::parse_error& error) {
        throw PartProgramError(file_label, line_and_column(json_text, error.byte),
                               "kein gültiges JSON (" + syntax_reason(error) + ")");
    } catch (const json::exception& error) {
        // A number too large for a double, for one; the parser names no place.
        throw PartProgramError(file_label, "",
                               std::string("kein gültiges JSON (") + error.what() + ")");
    }
    return Reader(file_label).program(document);
}

PartProgram load_part_program(const std::filesystem::path& file) {
    const std::string label = file.string();
    std::ifstream stream(file, std::ios::binary);
    if (!stream)
        throw PartProgramError(label, "",
                               std::string("Datei kann nicht geöffnet werden (") +
                                   std::strerror(errno) + ")");
    std::ostringstream content;
    content << stream.rdbuf();
    if (stream.bad())
        throw PartProgramError(label, "", "Datei kann nicht gelesen werden");
    return parse_part_program(content.str(), label);
}

} // namespace vormesa_sim
