// SPDX-License-Identifier: MIT
#include "data/session.h"

#include "platform/core/dialogs.h"

#include <QFileInfo>
#include <algorithm>

namespace data {

QByteArray TSession::StorePassword(const QString& password) {
    return password.left(255).toUtf8();
}

void TSession::AddPassword(const QString& password) {
    const QByteArray stored = StorePassword(password);
    if (std::find(passwords_.begin(), passwords_.end(), stored) == passwords_.end())
        passwords_.push_back(stored);
}

void TSession::RemovePassword(const QString& password) {
    const QByteArray stored = StorePassword(password);
    passwords_.erase(std::remove(passwords_.begin(), passwords_.end(), stored), passwords_.end());
}

bool TSession::GetPassword(const QString& tableName) {
    const auto answer = platform::Dialogs().PromptText(
        nullptr, QStringLiteral("Enter password"),
        QStringLiteral("Password for table %1:").arg(QFileInfo(tableName).fileName()), true);
    if (!answer)
        return false;
    AddPassword(*answer);
    return true;
}

TSession& Session() {
    static TSession session;
    return session;
}

} // namespace data
