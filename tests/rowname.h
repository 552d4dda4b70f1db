// Names of parameterised rows: the row's number, then its printed form (its PrintTo) cut down to
// letters and digits joined by single underscores, so that "Rows/Suite.Test/3_Eau_554nm" says
// which case failed and every name stays valid and unique.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <string>

// A character as the row printers write it: "U+00E9".
inline std::string codePoint(char16_t c)
{
    char text[8];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

struct RowName {
    static constexpr std::size_t kLongest = 48;

    template <typename Row> std::string operator()(const ::testing::TestParamInfo<Row> &info) const
    {
        std::string name = std::to_string(info.index);
        bool gap = true;
        for (const char c : ::testing::PrintToString(info.param)) {
            const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
            if (!alnum) {
                gap = true;
                continue;
            }
            if (name.size() + (gap ? 2 : 1) > kLongest)
                break;
            if (gap)
                name += '_';
            name += c;
            gap = false;
        }
        return name;
    }
};
