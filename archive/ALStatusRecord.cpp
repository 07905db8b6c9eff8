#include "ALStatusRecord.h"

#include "ALText.h"

#include <cwchar>
#include <new>

ALStatusRecord& ALStatusRecord::operator=(const ALStatusRecord& other) noexcept {
    if (this == &other) return *this;
    code_ = other.code_;
    if (!other.detail_) {
        detail_.reset();
    } else if (EnsureDetail()) {
        std::wmemcpy(detail_.get(), other.detail_.get(), kDetailLength + 1);
    }
    return *this;
}

int32_t ALStatusRecord::SetError(int32_t code, const wchar_t* format, ...) noexcept {
    std::va_list args;
    va_start(args, format);
    SetErrorV(code, format, args);
    va_end(args);
    return code;
}

int32_t ALStatusRecord::SetErrorV(int32_t code, const wchar_t* format, std::va_list args) noexcept {
    code_ = code;
    if (format == nullptr) {
        detail_.reset();
        return code;
    }
    if (!EnsureDetail()) return code;
    std::wstring text = ALFormatV(format, args);
    if (text.size() > static_cast<size_t>(kDetailLength)) text.resize(kDetailLength);
    std::wmemcpy(detail_.get(), text.c_str(), text.size() + 1);
    return code;
}

const wchar_t* ALStatusRecord::StatusText() const noexcept {
    if (detail_) return detail_.get();
    if (code_ == AL_SUCCESS) return L"No errors";
    return L"Unable to allocate memory for error detail message";
}

bool ALStatusRecord::EnsureDetail() noexcept {
    if (!detail_) {
        detail_.reset(new (std::nothrow) wchar_t[kDetailLength + 1]);
        if (!detail_) return false;
        detail_[0] = L'\0';
    }
    return true;
}
