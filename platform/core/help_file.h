// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace platform {

/// One topic of a help file.
struct HelpTopic {
    int Context = 0; // the number programs ask for
    QString Title;
    QStringList Keywords;
    QString Body; // paragraphs separated by blank lines; "- " starts a list item;
                  // {{n|text}} links to topic n
};

/// A help file in the program's own text format:
///
///     VELLAMORE-HELP 1
///     title: Vellamore Help
///     == 1 | Contents
///     keywords: contents; overview
///     text ...
///
/// The first topic is the contents page.
struct HelpDocument {
    QString Title;
    std::vector<HelpTopic> Topics;

    const HelpTopic* Topic(int context) const;

    /// Parses the bytes; nothing, with the reason in `error`, when they are not a help file.
    static std::optional<HelpDocument> Parse(const QByteArray& bytes, QString* error = nullptr);
    static std::optional<HelpDocument> Load(const QString& fileName, QString* error = nullptr);
};

/// A topic's body as rich text for the viewer, links as "topic:n".
QString TopicHtml(const HelpTopic& topic);

} // namespace platform
