// SPDX-License-Identifier: MIT
#include "platform/ui/application.h"

#include "platform/core/dialogs.h"
#include "platform/core/error_reporter.h"
#include "platform/core/errors.h"
#include "platform/ui/widget_dialogs.h"

#include <QFont>
#include <QStyleFactory>
#include <exception>

namespace platform {

namespace {
TApplication* g_instance = nullptr;
WidgetDialogs g_dialogs;
} // namespace

void InstallFontSubstitutes() {
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(
        QStringLiteral("Times New Roman"),
        {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv) {
    g_instance = this;
    setQuitOnLastWindowClosed(false); // the main window alone decides
    // The layers without windows ask and report through these.
    SetDefaultDialogService(&g_dialogs);
    SetErrorReporter([this](const QString& message) { ShowException(message); });
    Initialize();
}

TApplication::~TApplication() {
    if (g_instance == this) {
        g_instance = nullptr;
        SetErrorReporter({});
        SetDefaultDialogService(nullptr);
    }
}

TApplication* TApplication::Instance() {
    return g_instance;
}

void TApplication::Initialize() {
    InstallFontSubstitutes();
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        setStyle(fusion);
}

void TApplication::SetMainForm(QWidget* form) {
    if (!mainForm_)
        mainForm_ = form;
}

int TApplication::Run() {
    if (mainForm_)
        mainForm_->show();
    return exec();
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        const bool handled = QApplication::notify(receiver, event);
        if (event->type() == QEvent::Close && receiver == mainForm_ && event->isAccepted())
            quit();
        return handled;
    } catch (const Exception& e) {
        ShowException(e.Message());
    } catch (const std::exception& e) {
        ShowException(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowException(QStringLiteral("Unknown exception"));
    }
    return true;
}

void TApplication::ShowException(const QString& message) {
    // Like the classic handler: a message whose last character sorts after "." gains one.
    QString text = message;
    if (!text.isEmpty() && text.back() > u'.')
        text += u'.';
    Dialogs().MessageBox(activeWindow(), text, title_, MB_OK | MB_ICONERROR);
}

} // namespace platform
