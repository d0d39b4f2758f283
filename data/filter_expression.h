// SPDX-License-Identifier: MIT
#pragma once

#include <QAnyStringView>
#include <QString>

namespace data {

/// The two filter options of a record source.
struct TFilterOptions {
    bool CaseInsensitive = false;  // compare ignoring case
    bool NoPartialCompare = false; // a trailing "*" is an ordinary character
};

/// A parsed filter expression of the form  Field = 'literal'.
/// A quote inside the literal is doubled; a literal of two or more characters ending in "*"
/// compares as a prefix unless partial compares are off. The empty text accepts everything.
class FilterExpression {
public:
    /// Parses the text; throws platform::Exception with the layer's message on bad input.
    static FilterExpression Parse(const QString& text);

    bool IsEmpty() const { return field_.isEmpty(); }
    const QString& FieldName() const { return field_; }
    const QString& Literal() const { return literal_; }

    /// Whether a field value passes, with the given options.
    bool Matches(QAnyStringView value, const TFilterOptions& options) const;
    /// Whether, with the options, a value passes exactly when it equals the literal (no prefix,
    /// case counts): what an index of exact values answers.
    bool ComparesExactly(const TFilterOptions& options) const {
        return !IsEmpty() && !options.CaseInsensitive &&
               (options.NoPartialCompare || prefix_.isEmpty());
    }

private:
    QString field_;
    QString literal_;
    QString prefix_; // the literal without its "*" when it compares as a prefix
};

} // namespace data
