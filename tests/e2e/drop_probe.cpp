// SPDX-License-Identifier: MIT
// A small program for the end-to-end drag test: a window titled "Drop Probe" at the screen
// position its arguments give takes one drop from another program and writes what it got
// into the folder named by its first argument: "formats.txt" (the types offered, one a line),
// "file.txt" (the dropped file's name) with a copy "file.bin", and "picture.png" and
// "picture.svg" when offered. Exit 0 after a drop with a file, 1 when none came in 60 s.
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

class Probe : public QWidget {
public:
    explicit Probe(QString folder)
        : folder_(std::move(folder)) {
        setWindowTitle(QStringLiteral("Drop Probe"));
        setAcceptDrops(true);
    }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override { event->acceptProposedAction(); }
    void dragMoveEvent(QDragMoveEvent* event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent* event) override {
        const QMimeData* dropped = event->mimeData();
        const QDir out(folder_);
        Write(out.filePath(QStringLiteral("formats.txt")),
              dropped->formats().join(u'\n').toUtf8() + '\n');
        for (const QUrl& url : dropped->urls()) {
            const QString local = url.toLocalFile();
            Write(out.filePath(QStringLiteral("file.txt")), local.toUtf8());
            QFile::copy(local, out.filePath(QStringLiteral("file.bin")));
            got_ = QFileInfo::exists(local);
        }
        if (dropped->hasFormat(QStringLiteral("image/png")))
            Write(out.filePath(QStringLiteral("picture.png")),
                  dropped->data(QStringLiteral("image/png")));
        if (dropped->hasFormat(QStringLiteral("image/svg+xml")))
            Write(out.filePath(QStringLiteral("picture.svg")),
                  dropped->data(QStringLiteral("image/svg+xml")));
        event->acceptProposedAction();
        QTimer::singleShot(0, qApp, [this] { qApp->exit(got_ ? 0 : 1); });
    }

private:
    QString folder_;
    bool got_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 4)
        return 2;
    Probe probe(QString::fromLocal8Bit(argv[1]));
    probe.setGeometry(QString::fromLatin1(argv[2]).toInt(), QString::fromLatin1(argv[3]).toInt(),
                      160, 300);
    probe.show();
    QTimer::singleShot(60000, &app, [] { qApp->exit(1); });
    return app.exec();
}
