#pragma once

// Named rows of table-driven tests: a row's Name names its test and is all
// that gtest prints of it. A test file brings PrintTo in with
// `using TestRows::PrintTo;` in the namespace of its rows.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace TestRows {

template <class TRow>
concept Named = requires(const TRow& row) { std::string(row.Name); };

template <Named TRow>
void PrintTo(const TRow& row, std::ostream* out)
{
    *out << row.Name;
}

} // namespace TestRows

// For INSTANTIATE_TEST_SUITE_P: each test is named after its row.
inline constexpr auto RowName = []<TestRows::Named TRow>(const testing::TestParamInfo<TRow>& info) {
    return std::string(info.param.Name);
};
