// SPDX-License-Identifier: MIT
#include "imaging/engine/engine_binding.h"

#include "imaging/error_invalid.h"
#include "platform/core/dialogs.h"
#include "platform/core/paths.h"
#include "platform/core/profile.h"
#include "platform/core/system_folders.h"

#include <QFileInfo>
#include <QLocale>

#include <cstring>

namespace imaging {

EngineBinding& EngineBinding::Instance() {
    static EngineBinding binding;
    return binding;
}

void EngineBinding::Start() {
    if (starts_++ > 0)
        return;
    // The version is written with the locale's decimal separator and read back the same way.
    const QLocale locale;
    libraryVersion_ =
        locale.toDouble(QStringLiteral("5") + locale.decimalPoint() + QStringLiteral("1"));
    lastError_ = {};
    engine_ = nullptr;
    scannerBusy_ = false;
    const QString app = QFileInfo(platform::ExecutablePath()).completeBaseName().toLower();
    platform::WritePrivateProfileString(QStringLiteral("Imaging Twain"), QStringLiteral("App Name"),
                                        app, QStringLiteral("iltwain.ini"));
}

void EngineBinding::End() {
    if (starts_ == 0 || --starts_ > 0)
        return;
    FreeEngine();
    lastError_ = {};
    progressText_.clear();
}

void EngineBinding::FreeEngine() {
    if (engine_)
        platform::FreeLibrary(engine_);
    engine_ = nullptr;
}

bool EngineBinding::LoadEngineFunction(const QString& library, const char* exportName,
                                       void** entry) {
    if (!engine_) {
        const QString folder = platform::ExtractFilePath(platform::ExecutablePath());
        engine_ = platform::LoadLibrary(platform::JoinPath(folder, library));
        if (!engine_)
            engine_ = platform::LoadLibrary(library);
        if (!engine_) {
            const QString found =
                platform::SearchPath(folder + QStringLiteral("\\;") + platform::SystemDirectory() +
                                         u';' + platform::WindowsDirectory(),
                                     library);
            if (!found.isEmpty()) {
                engine_ = platform::LoadLibrary(found);
                if (!engine_)
                    engine_ = platform::LoadLibrary(platform::ChangeFileExt(found, QString()));
            }
        }
    }
    if (!engine_)
        throw ErrorInvalid(
            QStringLiteral("Can't load ") + library +
            QStringLiteral(". Make sure its located in the application's searchpath."));
    if (!library.contains(QLatin1String("CRDE"))) {
        platform::Dialogs().MessageBox(
            nullptr, QStringLiteral("Wrong dll Name in the engine binding"),
            QStringLiteral("Error"), platform::MB_OK | platform::MB_ICONERROR);
        FreeEngine();
        return false;
    }
    *entry = platform::GetProcAddress(engine_, exportName);
    return *entry != nullptr;
}

void EngineBinding::SetEngineError(std::int16_t code) {
    QString text;
    void* entry = engine_ ? platform::GetProcAddress(engine_, "errortext") : nullptr;
    if (entry)
        if (const char* s = reinterpret_cast<CrdeErrorText>(entry)(code))
            text = QString::fromUtf8(s).left(255);
    lastError_ = {code, text};
}

void ShowImagingException() {
    platform::Dialogs().MessageBox(
        nullptr,
        QStringLiteral("An exception error occured in the imaging dll. We recommend to exit the "
                       "application and to restart it by clicking its icon!"),
        QStringLiteral("Error"), platform::MB_OK | platform::MB_ICONERROR);
}

void EngineBinding::ShowEngineException() {
    ShowImagingException();
}

bool EngineBinding::Check(const char* exportName, std::int16_t result, Success rule) {
    const bool ok = rule == Success::AtLeastOne ? result >= 1 : result >= 0;
    if (ok)
        return true;
    if (rule != Success::ZeroOrMoreNoError)
        SetEngineError(result);
    static const char* const jpeg[] = {"rdjpgstreamdib", "rdjpgfiledib", "wrjpgstreamdib",
                                       "wrjpgfiledib"};
    for (const char* name : jpeg)
        if (std::strcmp(name, exportName) == 0)
            FreeEngine();
    return false;
}

} // namespace imaging
