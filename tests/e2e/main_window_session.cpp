// SPDX-License-Identifier: MIT
#include "tests/e2e/main_window_session.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

void MainWindowSession::Launch(const QString& title, const QStringList& environment) {
    ASSERT_TRUE(x.Running()) << "Xvfb did not start";
    const QString program =
        MakeProgramDir(VLMOR_BIN_DIR, dir, "[Config]\nTitle=" + title.toUtf8() + "\n");
    process = x.Start(program, {}, environment);
    main = x.WaitForWindow(title, 20000);
    ASSERT_TRUE(main.has_value()) << "the main window did not appear";
    QThread::msleep(800);
    QDir().mkpath(VLMOR_SHOTS_DIR);
}

void MainWindowSession::TearDown() {
    if (process) {
        process->terminate();
        process->waitForFinished(5000);
    }
}

QImage MainWindowSession::Shot(const QString& name) {
    return x.Screenshot(QDir(VLMOR_SHOTS_DIR).filePath(name)).copy(*main);
}

void MainWindowSession::Click(QPoint inWindow) {
    const QPoint at = main->topLeft() + inWindow;
    x.Xdo({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
}

void MainWindowSession::Menu(const char* key, const QString& shot) {
    Click({20, 10});
    if (!shot.isEmpty())
        Shot(shot);
    x.Xdo({"key", key});
}

QString MainWindowSession::WaitForFile(const QString& file) {
    qint64 size = -1;
    for (int look = 0; look < 120; ++look) {
        const qint64 now = QFileInfo(file).size();
        if (now > 0 && now == size)
            return file;
        size = now;
        QThread::msleep(250);
    }
    return {};
}
