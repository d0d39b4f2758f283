// SPDX-License-Identifier: MIT
#include "tests/support/cups_session.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const kBackend = "/usr/lib/cups/backend/cups-pdf";
const char* const kPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

bool Write(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

} // namespace

CupsSession::CupsSession()
    : started_(QDateTime::currentDateTime().addSecs(-1)) {
    if (geteuid() != 0) {
        why_ = QStringLiteral("the cups-pdf backend runs only for a scheduler started as root");
        return;
    }
    if (!QFileInfo::exists(QString::fromLatin1(kBackend)) ||
        !QFileInfo::exists(QString::fromLatin1(kPpd))) {
        why_ = QStringLiteral("printer-driver-cups-pdf is not installed");
        return;
    }
    possible_ = true;
    const QDir root(dir_.path());
    for (const char* sub : {"conf", "spool", "cache", "state", "tmp", "log"})
        root.mkpath(QString::fromLatin1(sub));
    // Filters run as lp: they must reach the spool and the temporary folder.
    QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                           QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                           QFileDevice::ExeGroup);
    ::chmod(QFile::encodeName(root.filePath(QStringLiteral("tmp"))).constData(), 01777);
    const QByteArray path = QFile::encodeName(dir_.path());
    const bool written =
        Write(
            root.filePath(QStringLiteral("conf/cupsd.conf")),
            "Listen " + path +
                "/cups.sock\n"
                "LogLevel warn\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
                "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"
                "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n") &&
        Write(root.filePath(QStringLiteral("conf/cups-files.conf")),
              "ServerRoot " + path + "/conf\nRequestRoot " + path + "/spool\nCacheDir " + path +
                  "/cache\nStateDir " + path + "/state\nTempDir " + path + "/tmp\nErrorLog " +
                  path + "/log/error_log\nAccessLog " + path + "/log/access_log\nPageLog " + path +
                  "/log/page_log\nUser lp\nGroup lp\nSystemGroup root\n");
    if (!written) {
        why_ = QStringLiteral("the scheduler's configuration could not be written");
        return;
    }
    scheduler_.setProcessChannelMode(QProcess::MergedChannels);
    scheduler_.start(QStringLiteral("cupsd"),
                     {QStringLiteral("-f"), QStringLiteral("-c"),
                      root.filePath(QStringLiteral("conf/cupsd.conf")), QStringLiteral("-s"),
                      root.filePath(QStringLiteral("conf/cups-files.conf"))});
    if (!scheduler_.waitForStarted(5000)) {
        why_ = QStringLiteral("cupsd did not start (is the cups package installed?)");
        return;
    }
    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(Server()) && timer.elapsed() < 10000 &&
           scheduler_.state() == QProcess::Running)
        QThread::msleep(50);
    if (!QFileInfo::exists(Server())) {
        why_ = QStringLiteral("cupsd did not open its socket: ") +
               QString::fromLocal8Bit(scheduler_.readAll());
        return;
    }
    if (!Run(QStringLiteral("lpadmin"),
             {QStringLiteral("-p"), Queue(), QStringLiteral("-E"), QStringLiteral("-v"),
              QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), QString::fromLatin1(kPpd)}) ||
        !Run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), Queue()}))
        why_ = QStringLiteral("lpadmin could not set up the cups-pdf queue");
}

CupsSession::~CupsSession() {
    if (scheduler_.state() != QProcess::NotRunning) {
        scheduler_.terminate();
        if (!scheduler_.waitForFinished(5000))
            scheduler_.kill();
        scheduler_.waitForFinished(1000);
    }
}

bool CupsSession::Run(const QString& tool, const QStringList& args) const {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CUPS_SERVER"), Server());
    process.setProcessEnvironment(env);
    process.start(tool, args);
    return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

QString CupsSession::OutputFolder() const {
    // cups-pdf writes to the folder its configuration names, ${HOME} being the job owner's.
    QString out = QStringLiteral("${HOME}/PDF");
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : conf.readAll().split('\n')) {
            const QByteArray t = line.trimmed();
            if (t.startsWith("Out ") || t.startsWith("Out\t"))
                out = QString::fromLocal8Bit(t.mid(4).trimmed());
        }
    }
    const passwd* user = getpwuid(geteuid());
    out.replace(QLatin1String("${HOME}"),
                user ? QFile::decodeName(user->pw_dir) : QDir::homePath());
    return out;
}

QString CupsSession::WaitForPdf(const QString& title, int timeoutMs) const {
    QElapsedTimer timer;
    timer.start();
    const QDir folder(OutputFolder());
    do {
        for (const QFileInfo& f : folder.entryInfoList({QStringLiteral("*.pdf")}, QDir::Files)) {
            if (f.lastModified() < started_)
                continue;
            // The backend writes the file, then closes it: its size has to settle.
            const qint64 size = f.size();
            QThread::msleep(300);
            if (size <= 0 || QFileInfo(f.filePath()).size() != size)
                continue;
            // The job's own file: its title, not merely the newest file in the folder.
            QProcess info;
            info.start(QStringLiteral("pdfinfo"), {f.filePath()});
            if (info.waitForFinished(10000) &&
                QString::fromUtf8(info.readAllStandardOutput()).contains(title))
                return f.filePath();
        }
        QThread::msleep(250);
    } while (timer.elapsed() < timeoutMs);
    return {};
}
