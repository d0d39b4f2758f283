// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable test failure output for the Qt types the tests compare.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{' << list.join(QStringLiteral(", ")).toStdString() << '}';
}

inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << "QRect(" << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height() << ')';
}
