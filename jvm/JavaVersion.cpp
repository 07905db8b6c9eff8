#include "JavaVersion.h"

#include <limits>
#include <vector>

namespace {

std::vector<std::wstring_view> SplitVersionText(std::wstring_view text) {
    std::vector<std::wstring_view> pieces;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == L'.' || text[i] == L'_') {
            if (i > start) pieces.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return pieces;
}

// The decimal number at the start of a piece, 0 when it does not start with a digit. A number
// too large for its component is held at the component's largest value, so that an overlong
// text never orders below a smaller version.
std::uint64_t LeadingNumber(std::wstring_view piece, std::uint64_t limit) {
    std::uint64_t value = 0;
    for (wchar_t c : piece) {
        if (c < L'0' || c > L'9') break;
        value = value * 10 + static_cast<std::uint64_t>(c - L'0');
        if (value > limit) return limit;
    }
    return value;
}

}  // namespace

JavaVersion::JavaVersion(std::int32_t major, std::uint16_t micro, std::uint16_t update)
    : packed_((static_cast<std::uint64_t>(static_cast<std::uint32_t>(major)) << 32) |
              (static_cast<std::uint64_t>(micro) << 16) | update) {}

JavaVersion JavaVersion::Parse(std::wstring_view text) {
    std::vector<std::wstring_view> pieces = SplitVersionText(text);
    if (pieces.empty() || pieces.front() != L"1") pieces.insert(pieces.begin(), L"1");
    auto piece = [&](size_t i) { return i < pieces.size() ? pieces[i] : std::wstring_view(); };
    constexpr std::uint64_t kMajorLimit = std::numeric_limits<std::int32_t>::max();
    constexpr std::uint64_t kShortLimit = std::numeric_limits<std::uint16_t>::max();
    return JavaVersion(static_cast<std::int32_t>(LeadingNumber(piece(1), kMajorLimit)),
                       static_cast<std::uint16_t>(LeadingNumber(piece(2), kShortLimit)),
                       static_cast<std::uint16_t>(LeadingNumber(piece(3), kShortLimit)));
}

JavaVersion JavaVersion::FromFileVersion(const std::array<std::uint16_t, 4>& v) {
    if (v[0] != 1) return JavaVersion(v[0], v[1], v[2]);
    return JavaVersion(v[1], v[2], v[3]);
}

std::wstring JavaVersion::text() const {
    return std::to_wstring(major()) + L"." + std::to_wstring(micro()) + L"_" +
           std::to_wstring(update());
}

