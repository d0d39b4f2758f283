// SPDX-License-Identifier: MIT
#include "platform/core/help_file.h"

#include <QFile>
#include <QRegularExpression>

namespace platform {

namespace {

constexpr qsizetype kMaxHelpBytes = 4 * 1024 * 1024;
constexpr size_t kMaxTopics = 10000;

QString Links(const QString& escaped) {
    static const QRegularExpression link(QStringLiteral("\\{\\{(\\d{1,9})\\|([^}]*)\\}\\}"));
    QString out = escaped;
    out.replace(link, QStringLiteral("<a href=\"topic:\\1\">\\2</a>"));
    return out;
}

} // namespace

const HelpTopic* HelpDocument::Topic(int context) const {
    for (const HelpTopic& t : Topics) {
        if (t.Context == context)
            return &t;
    }
    return nullptr;
}

std::optional<HelpDocument> HelpDocument::Parse(const QByteArray& bytes, QString* error) {
    auto fail = [error](const QString& why) -> std::optional<HelpDocument> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (bytes.size() > kMaxHelpBytes)
        return fail(QStringLiteral("the help file is too large"));
    const QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    if (lines.isEmpty() || !lines[0].trimmed().startsWith(QStringLiteral("VELLAMORE-HELP")))
        return fail(QStringLiteral("not a help file"));
    HelpDocument file;
    HelpTopic* topic = nullptr;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.startsWith(QStringLiteral("=="))) {
            const qsizetype bar = line.indexOf(u'|');
            bool ok = false;
            const int context = line.mid(2, bar < 0 ? -1 : bar - 2).trimmed().toInt(&ok);
            if (!ok || bar < 0)
                return fail(
                    QStringLiteral("line %1: a topic needs a number and a title").arg(i + 1));
            if (file.Topics.size() >= kMaxTopics)
                return fail(QStringLiteral("too many topics"));
            file.Topics.push_back({context, line.mid(bar + 1).trimmed(), {}, {}});
            topic = &file.Topics.back();
        } else if (!topic && line.startsWith(QStringLiteral("title:"))) {
            file.Title = line.mid(6).trimmed();
        } else if (topic && topic->Body.isEmpty() && line.startsWith(QStringLiteral("keywords:"))) {
            for (const QString& k : line.mid(9).split(u';', Qt::SkipEmptyParts))
                if (!k.trimmed().isEmpty())
                    topic->Keywords << k.trimmed();
        } else if (topic) {
            topic->Body += line + u'\n';
        }
    }
    if (file.Topics.empty())
        return fail(QStringLiteral("the help file has no topics"));
    return file;
}

std::optional<HelpDocument> HelpDocument::Load(const QString& fileName, QString* error) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open the help file %1").arg(fileName);
        return std::nullopt;
    }
    return Parse(f.read(kMaxHelpBytes + 1), error);
}

QString TopicHtml(const HelpTopic& topic) {
    QString html = QStringLiteral("<h2>%1</h2>").arg(topic.Title.toHtmlEscaped());
    for (const QString& paragraph : topic.Body.split(QStringLiteral("\n\n"))) {
        QStringList text;
        QStringList items;
        auto flush = [&] {
            if (!text.isEmpty())
                html += QStringLiteral("<p>") + Links(text.join(u' ').toHtmlEscaped()) +
                        QStringLiteral("</p>");
            if (!items.isEmpty()) {
                html += QStringLiteral("<ul>");
                for (const QString& item : items)
                    html += QStringLiteral("<li>") + Links(item.toHtmlEscaped()) +
                            QStringLiteral("</li>");
                html += QStringLiteral("</ul>");
            }
            text.clear();
            items.clear();
        };
        for (const QString& raw : paragraph.split(u'\n', Qt::SkipEmptyParts)) {
            const QString line = raw.trimmed();
            if (line.startsWith(QStringLiteral("- "))) {
                if (!text.isEmpty())
                    flush();
                items << line.mid(2);
            } else if (!line.isEmpty()) {
                if (!items.isEmpty())
                    flush();
                text << line;
            }
        }
        flush();
    }
    return html;
}

} // namespace platform
