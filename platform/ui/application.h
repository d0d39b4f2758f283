// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace platform {

/// The application object: the event loop, the title, the help file and the main window.
/// An exception escaping any event handler is caught here, its message shown in a
/// message box, and the loop goes on.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    /// The running application object, or null.
    static TApplication* Instance();

    bool notify(QObject* receiver, QEvent* event) override;

    /// Finishes set-up before the first window is shown (fonts, style).
    void Initialize();

    /// Shows the main window and runs the event loop until the main window closes.
    int Run();

    const QString& Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }

    const QString& HelpFile() const { return helpFile_; }
    void SetHelpFile(const QString& fileName) { helpFile_ = fileName; }

    /// The first window registered becomes the main window; closing it ends the loop.
    QWidget* MainForm() const { return mainForm_; }
    void SetMainForm(QWidget* form);

    /// Shows an error message in a message box captioned with the title.
    void ShowException(const QString& message);

private:
    QString title_;
    QString helpFile_;
    QPointer<QWidget> mainForm_;
};

/// Replaces font families of the original forms with metric-compatible ones installed here.
void InstallFontSubstitutes();

} // namespace platform
