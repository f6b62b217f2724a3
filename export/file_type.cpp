#include "export/file_type.h"

#include <algorithm>
#include <string>

namespace kastrel::exporter {
namespace {

bool ends_in(const std::u8string& name, std::u8string_view extension) {
    if (name.size() <= extension.size())
        return false;
    return std::equal(extension.begin(), extension.end(), name.end() - extension.size(),
                      [](char8_t want, char8_t have) {
                          return want == (have >= u8'A' && have <= u8'Z'
                                              ? static_cast<char8_t>(have + 32)
                                              : have);
                      });
}

} // namespace

FileType file_type_of(const std::filesystem::path& target) {
    const std::u8string name = target.filename().u8string();
    if (ends_in(name, u8".xlsx"))
        return FileType::Workbook;
    if (ends_in(name, u8".dfq"))
        return FileType::Aqdef;
    return FileType::Text;
}

} // namespace kastrel::exporter
