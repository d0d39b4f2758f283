// SPDX-License-Identifier: MIT
#include "imaging/engine/engine_binding.h"

#include "imaging/engine/engine_call_support.h"

#include "imaging/error_invalid.h"
#include "platform/core/dialogs.h"
#include "platform/core/paths.h"
#include "platform/core/profile.h"
#include "platform/core/system_folders.h"

#include <QFileInfo>
#include <QLocale>

#include <cstring>

namespace imaging {

namespace {

// The state this thread's calls report into while a scope is open.
thread_local CallState* tScopeState = nullptr;
// How many scopes this thread has open.
thread_local int tScopes = 0;

// The asking call's own scope, which ends with it: with no other scope open anywhere, no
// other code runs inside the module then.
int HeldHere() {
    return tScopes > 0 ? 1 : 0;
}

} // namespace

EngineBinding& EngineBinding::Instance() {
    static EngineBinding binding;
    return binding;
}

EngineBinding::CallScope::CallScope(CallState& state)
    : previous_(tScopeState) {
    tScopeState = &state;
    ++tScopes;
    ++Instance().holders_;
}

EngineBinding::CallScope::CallScope()
    : previous_(tScopeState) {
    ++tScopes;
    ++Instance().holders_;
}

EngineBinding::CallScope::~CallScope() {
    tScopeState = previous_;
    --tScopes;
    --Instance().holders_;
}

CallState& EngineBinding::State() const {
    return tScopeState ? *tScopeState : ownerState_;
}

bool EngineBinding::OnOwnerThread() const {
    const std::thread::id owner = owner_;
    return owner == std::thread::id() || owner == std::this_thread::get_id();
}

bool EngineBinding::EngineLoaded() const {
    std::lock_guard hold(moduleLock_);
    return engine_ != nullptr && !unloadPending_;
}

int EngineBinding::Holders() const {
    return holders_;
}

void EngineBinding::Start() {
    if (starts_++ > 0)
        return;
    owner_ = std::this_thread::get_id();
    // The version is written with the locale's decimal separator and read back the same way.
    const QLocale locale;
    libraryVersion_ =
        locale.toDouble(QStringLiteral("5") + locale.decimalPoint() + QStringLiteral("1"));
    ownerState_.Error = {};
    scannerBusy_ = false;
    const QString app = QFileInfo(platform::ExecutablePath()).completeBaseName().toLower();
    platform::WritePrivateProfileString(QStringLiteral("Imaging Twain"), QStringLiteral("App Name"),
                                        app, QStringLiteral("iltwain.ini"));
}

void EngineBinding::End() {
    if (starts_ == 0 || --starts_ > 0)
        return;
    FreeEngine();
    ownerState_ = {};
}

// With the lock held. Only the owner unloads, and only while nothing holds the module: a
// function address the owner looked up stays good until its own next call.
void EngineBinding::UnloadLocked() {
    if (engine_)
        platform::FreeLibrary(engine_);
    engine_ = nullptr;
    unloadPending_ = false;
}

void EngineBinding::FreeEngine() {
    const bool owner = OnOwnerThread();
    std::lock_guard hold(moduleLock_);
    if (owner && holders_ <= HeldHere())
        UnloadLocked();
    else if (engine_)
        unloadPending_ = true;
}

bool EngineBinding::LoadEngineFunction(const QString& library, const char* exportName,
                                       void** entry) {
    const bool owner = OnOwnerThread();
    std::unique_lock hold(moduleLock_);
    if (unloadPending_ && owner && holders_ <= HeldHere())
        UnloadLocked(); // the unload asked for while others held the module
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
        hold.unlock();
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
    void* entry = nullptr;
    {
        std::lock_guard hold(moduleLock_);
        entry = engine_ ? platform::GetProcAddress(engine_, "errortext") : nullptr;
    }
    if (entry)
        if (const char* s = reinterpret_cast<CrdeErrorText>(entry)(code))
            text = QString::fromUtf8(s).left(255);
    State().Error = {code, text};
}

void ShowImagingException() {
    EngineBinding& e = EngineBinding::Instance();
    if (!e.OnOwnerThread()) {
        e.SetLastEngineError(kEngineInternalError,
                             QStringLiteral("An exception error occured in the imaging dll."));
        return;
    }
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
    // A failed JPEG read or write leaves the module to be unloaded.
    const calls::FormatEntry& jpeg = calls::Entry(EngineFormat::Jpeg);
    for (const char* name : {jpeg.read, jpeg.readFile, jpeg.writeStream, jpeg.writeFile})
        if (std::strcmp(name, exportName) == 0)
            FreeEngine();
    return false;
}

} // namespace imaging
