#pragma once
// The story loader's page check and speaker tag as first written: every character
// looked up by string comparison against the closing marks converted from UTF-8. Kept
// as the reference the faster check must agree with (tests/story/linecheck_test.cpp)
// and as the baseline of bench/bench_storytext.cpp.
#include <string>
#include <string_view>

#include "platform/Big5.h"

namespace reference {

inline bool IsClosingMark(std::string_view big5Char) {
    static const std::string kMarks[] = {
        ui::Utf8ToBig5("。"), ui::Utf8ToBig5("，"), ui::Utf8ToBig5("、"), ui::Utf8ToBig5("？"),
        ui::Utf8ToBig5("！"), ui::Utf8ToBig5("」"), ui::Utf8ToBig5("』"), ui::Utf8ToBig5("…"),
        ui::Utf8ToBig5("）"), ui::Utf8ToBig5("；"), ui::Utf8ToBig5("："), ui::Utf8ToBig5("～")};
    for (const std::string& m : kMarks)
        if (big5Char == m) return true;
    return false;
}

inline std::string LineProblem(std::string_view big5) {
    constexpr int kRowCells = 23;
    constexpr int kRows = 4;
    constexpr int kLastRowCells = 20;
    int rowsBefore = 0;
    int cells = 0;
    bool firstLine = true;
    int letters = 0;
    auto endTextLine = [&]() -> std::string {
        if (cells > kRowCells && letters < 2) return "a row of the window holds a lone character";
        rowsBefore += (cells + kRowCells - 1) / kRowCells;
        cells = 0;
        letters = 0;
        firstLine = false;
        return {};
    };
    for (std::size_t i = 0; i < big5.size(); ++i) {
        const auto c = static_cast<unsigned char>(big5[i]);
        if (c == '\n') {
            if (std::string p = endTextLine(); !p.empty()) return p;
            continue;
        }
        if (c < 0x81 || i + 1 >= big5.size()) return "a half-width character";
        const std::string_view ch = big5.substr(i, 2);
        ++i;
        const int row = rowsBefore + cells / kRowCells;
        const int column = cells % kRowCells;
        const bool closing = IsClosingMark(ch);
        if (column == 0) letters = 0;
        if (!closing) ++letters;
        if (column == 0 && (cells > 0 || !firstLine) && closing)
            return "a row of the window starts with a closing mark";
        if (row >= kRows) return "more than 4 rows: the window cuts the line";
        if (row == kRows - 1 && column >= kLastRowCells)
            return "the fourth row runs into the end button: the window cuts the line";
        ++cells;
    }
    return endTextLine();
}

inline std::string SpeakerTag(std::string_view big5) {
    constexpr std::size_t kLongestTag = 24;
    for (std::size_t i = 0; i + 1 < big5.size() && i <= kLongestTag;) {
        const auto c = static_cast<unsigned char>(big5[i]);
        if (c < 0x81) return {};
        const std::string_view ch = big5.substr(i, 2);
        if (ch == "\xA1\x75" || ch == "\xA1\x79")  // 「 『
            return i == 0 ? std::string() : std::string(big5.substr(0, i));
        if (ch == "\xA1\x40" || IsClosingMark(ch) || ch == "\xA1\x43") return {};
        i += 2;
    }
    return {};
}

}  // namespace reference
