#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>

namespace kastrel::exporter {

// One field of an output line: its text as the text file has it and, for a
// number, the pattern that made it. Both writers take the field from here:
// the text file joins the texts; the workbook reads each number back from its
// text, so that a cell holds exactly the rounded value the text file shows
// (not the host's), and only the workbook pays for reading it.
struct Field {
    enum class Kind {
        Text,          // a title or label
        FourDecimals,  // "###0.0000"
        ThreeDecimals, // "###0.000"
        General,       // general number text
    };
    Field() = default;
    explicit Field(Kind kind_, std::string text_ = {}) : kind(kind_), text(std::move(text_)) {}

    Kind kind = Kind::Text;
    std::string text; // empty: the field has nothing in it

    bool is_number() const noexcept { return kind != Kind::Text && !text.empty(); }
};

// The fields of one line of the file and the character between them.
// No field at all is an empty line.
class OutputLine {
public:
    static constexpr std::size_t max_fields = 4;

    explicit OutputLine(char separator = '\t') : separator_(separator) {}

    OutputLine& add(Field field) {
        if (count_ == max_fields)
            throw std::logic_error("output line has too many fields");
        fields_[count_++] = std::move(field);
        return *this;
    }
    OutputLine& add_text(std::string text) {
        return add(Field(Field::Kind::Text, std::move(text)));
    }

    std::size_t size() const noexcept { return count_; }
    const Field& operator[](std::size_t i) const { return fields_.at(i); }
    const Field* begin() const noexcept { return fields_.data(); }
    const Field* end() const noexcept { return fields_.data() + count_; }
    char separator() const noexcept { return separator_; }

    // The line as the text file has it, without its line end.
    void append_text_to(std::string& out) const {
        for (std::size_t i = 0; i < count_; ++i) {
            if (i > 0)
                out += separator_;
            out += fields_[i].text;
        }
    }
    std::string text() const {
        std::string out;
        append_text_to(out);
        return out;
    }

private:
    std::array<Field, max_fields> fields_;
    std::size_t count_ = 0;
    char separator_;
};

} // namespace kastrel::exporter
