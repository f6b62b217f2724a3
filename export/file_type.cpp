#include "export/file_type.h"

#include <algorithm>
#include <string>

namespace kastrel::exporter {

FileType file_type_of(const std::filesystem::path& target) {
    const std::u8string name = target.filename().u8string();
    constexpr std::u8string_view workbook = u8".xlsx";
    if (name.size() <= workbook.size())
        return FileType::Text;
    const bool matches = std::equal(workbook.begin(), workbook.end(), name.end() - workbook.size(),
                                    [](char8_t want, char8_t have) {
                                        return want == (have >= u8'A' && have <= u8'Z'
                                                            ? static_cast<char8_t>(have + 32)
                                                            : have);
                                    });
    return matches ? FileType::Workbook : FileType::Text;
}

} // namespace kastrel::exporter
