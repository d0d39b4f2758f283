// SPDX-License-Identifier: MIT
#include "data/filter_expression.h"

#include "platform/core/errors.h"

#include <QLatin1StringView>
#include <QStringView>
#include <QUtf8StringView>
#include <type_traits>
#include <vector>

namespace data {

namespace {

enum class TokenKind { Name, Equals, Literal };

struct Token {
    TokenKind kind;
    QString text;
};

[[noreturn]] void Fail(const QString& message) {
    throw platform::Exception(message);
}

bool IsNameStart(QChar c) {
    return c.isLetter() || c == u'_';
}

bool IsNamePart(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

// Reads a run delimited by `close` starting after the opening character; a doubled
// `close` stands for one. Returns the index after the closing character, or -1.
qsizetype ReadQuoted(const QString& text, qsizetype i, QChar close, QString& out) {
    while (i < text.size()) {
        if (text[i] == close) {
            if (i + 1 < text.size() && text[i + 1] == close) {
                out += close;
                i += 2;
                continue;
            }
            return i + 1;
        }
        out += text[i++];
    }
    return -1;
}

std::vector<Token> Tokenise(const QString& text) {
    std::vector<Token> tokens;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == u'=') {
            tokens.push_back({TokenKind::Equals, QStringLiteral("=")});
            ++i;
        } else if (c == u'\'') {
            QString literal;
            i = ReadQuoted(text, i + 1, u'\'', literal);
            if (i < 0)
                Fail(QStringLiteral("Filter expression incorrectly terminated"));
            tokens.push_back({TokenKind::Literal, literal});
        } else if (c == u'[' || c == u'"') {
            // A field name with blanks: [Category Name] or "Category Name".
            QString name;
            i = ReadQuoted(text, i + 1, c == u'[' ? u']' : u'"', name);
            if (i < 0)
                Fail(QStringLiteral("Filter expression incorrectly terminated"));
            tokens.push_back({TokenKind::Name, name});
        } else if (IsNameStart(c)) {
            const qsizetype start = i;
            while (i < text.size() && IsNamePart(text[i]))
                ++i;
            tokens.push_back({TokenKind::Name, text.mid(start, i - start)});
        } else {
            Fail(QStringLiteral("Invalid filter expression character: '%1'").arg(c));
        }
    }
    return tokens;
}

} // namespace

FilterExpression FilterExpression::Parse(const QString& text) {
    FilterExpression expression;
    const std::vector<Token> tokens = Tokenise(text);
    if (tokens.empty())
        return expression;
    if (tokens.size() != 3 || tokens[0].kind != TokenKind::Name ||
        tokens[1].kind != TokenKind::Equals || tokens[2].kind != TokenKind::Literal ||
        tokens[0].text.trimmed().isEmpty())
        Fail(QStringLiteral("Incorrectly formed filter expression"));
    expression.field_ = tokens[0].text;
    expression.literal_ = tokens[2].text;
    expression.prefix_ = expression.literal_.size() >= 2 && expression.literal_.endsWith(u'*')
                             ? expression.literal_.chopped(1)
                             : QString();
    return expression;
}

bool FilterExpression::Matches(QAnyStringView value, const TFilterOptions& options) const {
    if (IsEmpty())
        return true;
    const Qt::CaseSensitivity cs =
        options.CaseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (!options.NoPartialCompare && !prefix_.isEmpty())
        return value.visit([this, cs](auto view) {
            if constexpr (std::is_same_v<decltype(view), QUtf8StringView>)
                return view.toString().startsWith(prefix_, cs);
            else
                return view.startsWith(prefix_, cs);
        });
    return QAnyStringView::compare(value, literal_, cs) == 0;
}

} // namespace data
