// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace data {

/// The database session of the process: the table passwords the store may try.
class TSession {
public:
    /// Adds a password, in the store's character set (UTF-8) and cut to 255 characters.
    void AddPassword(const QString& password);
    void RemovePassword(const QString& password);
    void RemoveAllPasswords() { passwords_.clear(); }
    const std::vector<QByteArray>& Passwords() const { return passwords_; }

    /// Asks the user for the password of a table in a modal "Enter password" dialog and adds
    /// the answer; false when the user cancels.
    bool GetPassword(const QString& tableName);

    /// Cut to 255 characters and converted as the store wants it.
    static QByteArray StorePassword(const QString& password);

private:
    std::vector<QByteArray> passwords_;
};

/// The one session of the process.
TSession& Session();

} // namespace data
