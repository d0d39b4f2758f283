// SPDX-License-Identifier: MIT
#include "tests/support/xvfb_session.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <unistd.h>

XvfbSession::XvfbSession(QSize screen) {
    // A display number nobody uses, from a place of this process's own; when another session
    // took the same number at the same moment, one of the two servers gives up (it finds the
    // other's lock), and the next number is tried. A socket alone proves nothing: it may be
    // the other server's, and a server that lost may be slow to end; the lock file names the
    // server that holds the number.
    for (int tried = 0, n = 140 + getpid() % 50; tried < 30 && n < 400; ++tried, ++n) {
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(n);
        const QString lock = QStringLiteral("/tmp/.X%1-lock").arg(n);
        if (QFileInfo::exists(socket) || QFileInfo::exists(lock))
            continue;
        display_ = n;
        server_.start(QStringLiteral("Xvfb"),
                      {Display(), QStringLiteral("-screen"), QStringLiteral("0"),
                       QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height()),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!server_.waitForStarted(5000))
            return;
        QElapsedTimer timer;
        timer.start();
        auto ours = [&] {
            QFile file(lock);
            return file.open(QIODevice::ReadOnly) &&
                   file.readAll().trimmed().toLongLong() == server_.processId();
        };
        while (timer.elapsed() < 10000 && server_.state() == QProcess::Running &&
               !(QFileInfo::exists(socket) && ours()))
            QThread::msleep(50);
        if (server_.state() == QProcess::Running && QFileInfo::exists(socket) && ours()) {
            running_ = true;
            return;
        }
        server_.kill();
        server_.waitForFinished(1000);
    }
}

XvfbSession::~XvfbSession() {
    server_.terminate();
    if (!server_.waitForFinished(3000))
        server_.kill();
    server_.waitForFinished(1000);
}

std::optional<QRect> XvfbSession::FindWindow(const QString& name) const {
    QProcess info;
    info.start(QStringLiteral("xwininfo"), {QStringLiteral("-display"), Display(),
                                            QStringLiteral("-root"), QStringLiteral("-children")});
    if (!info.waitForFinished(5000))
        return std::nullopt;
    const QString out = QString::fromLocal8Bit(info.readAllStandardOutput());
    // Lines look like: 0x200010 "Title": ("vlmor" "vlmor")  640x480+192+144  +192+144
    static const QRegularExpression line(
        QStringLiteral("^\\s*(0x[0-9a-f]+) \"(.*)\":.*\\s(\\d+)x(\\d+)\\+(-?\\d+)\\+(-?\\d+)\\s"),
        QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(2) != name)
            continue;
        // Only a mapped (viewable) window counts.
        QProcess state;
        state.start(QStringLiteral("xwininfo"),
                    {QStringLiteral("-display"), Display(), QStringLiteral("-id"), m.captured(1)});
        state.waitForFinished(5000);
        if (!QString::fromLocal8Bit(state.readAllStandardOutput()).contains("IsViewable"))
            continue;
        return QRect(m.captured(5).toInt(), m.captured(6).toInt(), m.captured(3).toInt(),
                     m.captured(4).toInt());
    }
    return std::nullopt;
}

std::optional<QRect> XvfbSession::WaitForWindow(const QString& name, int timeoutMs) const {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (auto rect = FindWindow(name))
            return rect;
        QThread::msleep(100);
    }
    return std::nullopt;
}

QImage XvfbSession::Screenshot(const QString& savePath) const {
    QProcess import;
    import.start(QStringLiteral("import"),
                 {QStringLiteral("-display"), Display(), QStringLiteral("-window"),
                  QStringLiteral("root"), QStringLiteral("ppm:-")});
    if (!import.waitForFinished(15000))
        return {};
    QImage shot = QImage::fromData(import.readAllStandardOutput(), "PPM");
    if (!savePath.isEmpty() && !shot.isNull())
        shot.save(savePath);
    return shot.convertToFormat(QImage::Format_RGB32);
}

std::unique_ptr<QProcess> XvfbSession::Start(const QString& program, const QStringList& args,
                                             const QStringList& environment) const {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& pair : environment)
        env.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    env.insert(QStringLiteral("DISPLAY"), Display());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(program, args);
    process->waitForStarted(5000);
    return process;
}

QByteArray XvfbSession::Output(const QString& tool, const QStringList& args, int timeoutMs) const {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), Display());
    process.setProcessEnvironment(env);
    process.start(tool, args);
    if (!process.waitForFinished(timeoutMs) || process.exitCode() != 0) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    return process.readAllStandardOutput();
}

void XvfbSession::Xdo(const QStringList& args) const {
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), Display());
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral("xdotool"), args);
    tool.waitForFinished(10000);
    QThread::msleep(400);
}

QString MakeProgramDir(const QString& binDir, const QTemporaryDir& dir, const QByteArray& ini) {
    const QDir bin(binDir);
    for (const QString& name : bin.entryList(QDir::Files)) {
        if (name != QLatin1String("vlmor.ini"))
            QFile::copy(bin.filePath(name), dir.filePath(name));
    }
    QFile::setPermissions(dir.filePath(QStringLiteral("vlmor")),
                          QFile::permissions(bin.filePath(QStringLiteral("vlmor"))));
    QFile file(dir.filePath(QStringLiteral("vlmor.ini")));
    if (file.open(QIODevice::WriteOnly))
        file.write(ini);
    return dir.filePath(QStringLiteral("vlmor"));
}
