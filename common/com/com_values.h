#pragma once

#include "common/non_copyable.h"

#include <oaidl.h>
#include <string>
#include <string_view>
#include <utility>

namespace kastrel::common::com {

// Owns a BSTR.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::string_view utf8);
    Bstr(Bstr&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
    Bstr& operator=(Bstr other) noexcept {
        std::swap(text_, other.text_);
        return *this;
    }
    ~Bstr();

    BSTR get() const noexcept { return text_; }
    BSTR detach() noexcept { return std::exchange(text_, nullptr); }

private:
    BSTR text_ = nullptr;
};

// A BSTR as UTF-8; a null BSTR is the empty text.
std::string utf8_of(BSTR text);

// Owns a VARIANT and whatever it holds.
class UniqueVariant {
public:
    UniqueVariant() noexcept { VariantInit(&value_); }
    UniqueVariant(UniqueVariant&& other) noexcept : value_(other.value_) {
        VariantInit(&other.value_);
    }
    UniqueVariant& operator=(UniqueVariant&& other) noexcept {
        if (this != &other) {
            VariantClear(&value_);
            value_ = other.value_;
            VariantInit(&other.value_);
        }
        return *this;
    }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    ~UniqueVariant() { VariantClear(&value_); }

    VARIANT* get() noexcept { return &value_; }
    const VARIANT* get() const noexcept { return &value_; }
    // Empties the variant and hands it out to be filled.
    VARIANT* put() noexcept {
        VariantClear(&value_);
        return &value_;
    }
    VARIANT detach() noexcept {
        VARIANT result = value_;
        VariantInit(&value_);
        return result;
    }

private:
    VARIANT value_;
};

// Owns the texts an EXCEPINFO was filled with.
class ExceptionInfo : private common::NonCopyable {
public:
    ExceptionInfo() = default;
    ~ExceptionInfo();

    EXCEPINFO* get() noexcept { return &info_; }
    // Completes an EXCEPINFO whose filling the server deferred.
    void fill_in() noexcept;

private:
    EXCEPINFO info_{};
};

} // namespace kastrel::common::com
