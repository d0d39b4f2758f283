// SPDX-License-Identifier: MIT
// Feeds arbitrary text to the filter expression parser and matcher.
#include "data/filter_expression.h"
#include "platform/core/errors.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    try {
        const auto expression = data::FilterExpression::Parse(text);
        data::TFilterOptions options;
        options.CaseInsensitive = size % 2 == 0;
        options.NoPartialCompare = size % 3 == 0;
        expression.Matches(text, options);
        expression.Matches(QString(), options);
    } catch (const platform::Exception&) {
    }
    return 0;
}
