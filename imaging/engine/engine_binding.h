// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/crde2000.h"
#include "imaging/palette.h"
#include "platform/core/library.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

namespace imaging {

/// The engine's progress callback: (progress, user) → 1 go on, 0 stop.
using ProgressCallback = CrdeProgress;

/// The last failure the engine reported.
struct EngineError {
    std::int16_t Code = 0;
    QString Text;
};

/// What one line of engine calls reports: the last failure and the progress text. The
/// binding's owner (the thread that starts it, the GUI's) has one; every worker decode brings
/// its own through a CallScope.
struct CallState {
    EngineError Error;
    QString ProgressText;
};

/// The one holder of the imaging engine for the process: it finds and loads the module on
/// first use, looks exports up by name and runs every call through one guarded pattern.
///
/// Threads: the owner thread starts, ends and frees the engine and makes the calls of the
/// controls (scanning, annotation, effects). Any thread may read and write pictures (the
/// readers and writers keep no state between calls) through the call families inside a
/// CallScope: loading and lookup are serialised, each scope keeps its
/// own error and progress text, and the module is unloaded only on the owner thread at a
/// moment no scope holds it. An unload asked for while scopes hold it (the JPEG exports' unload
/// after a failure) is carried out at the owner's next call after the last scope has ended.
class EngineBinding {
public:
    /// Engine calls on this thread report into `state` until the scope ends, and the module
    /// stays loaded meanwhile. Scopes nest.
    class CallScope {
    public:
        explicit CallScope(CallState& state);
        /// Holds the module only; calls report where they did.
        CallScope();
        ~CallScope();
        CallScope(const CallScope&) = delete;
        CallScope& operator=(const CallScope&) = delete;

    private:
        CallState* previous_;
    };

    static constexpr const char* LibraryName = "CRDE2000.DLL";

    static EngineBinding& Instance();

    /// Counted: only the first start and the last end act.
    void Start();
    void End();

    /// Loads the library when needed and looks the export up; true when it was found.
    /// Raises ErrorInvalid when the library cannot be found anywhere.
    bool LoadEngineFunction(const QString& library, const char* exportName, void** entry);
    /// Stores the code and the engine's text for it.
    void SetEngineError(std::int16_t code);
    /// Unloads the engine (the next call loads it again).
    void FreeEngine();

    bool EngineLoaded() const;
    /// The error and progress text of this thread's scope, or the owner's.
    const EngineError& LastEngineError() const { return State().Error; }
    void SetLastEngineError(std::int16_t code, const QString& text) {
        State().Error = {code, text};
    }
    const QString& ProgressText() const { return State().ProgressText; }
    void SetProgressText(const QString& text) { State().ProgressText = text; }
    double LibraryVersion() const { return libraryVersion_; }
    const HPALETTE& SharedPalette() const { return sharedPalette_; }
    bool ScannerBusy() const { return scannerBusy_; }
    void SetScannerBusy(bool busy) { scannerBusy_ = busy; }
    /// Sets the busy flag unless it is set already, in one step; false: a scan is running.
    bool ClaimScanner() {
        bool idle = false;
        return scannerBusy_.compare_exchange_strong(idle, true);
    }
    /// How many scopes hold the module now (for tests).
    int Holders() const;
    /// Whether this is the thread that started the binding (or none has yet).
    bool OnOwnerThread() const;

    /// How a result counts as success.
    enum class Success { AtLeastOne, ZeroOrMore, ZeroOrMoreNoError };

    /// The wrapper pattern: look up, set the progress text, call inside a guard, check the
    /// result. `call` gets the entry point and gives the engine's result. The JPEG exports
    /// unload the engine when they fail.
    template <class Entry, class Call>
    bool Invoke(const char* exportName, const QString& progress, Success rule, Call call);

private:
    EngineBinding() = default;
    bool Check(const char* exportName, std::int16_t result, Success rule);
    void ShowEngineException();
    CallState& State() const;
    void UnloadLocked();

    int starts_ = 0;
    mutable std::mutex moduleLock_; // the handle and a pending unload
    platform::HMODULE engine_ = nullptr;
    // Scopes open anywhere: counted before a scope's first lookup and after its last call,
    // so an unload decided under the lock never meets a call in progress.
    std::atomic<int> holders_ = 0;
    bool unloadPending_ = false;
    std::atomic<std::thread::id> owner_;
    mutable CallState ownerState_;
    double libraryVersion_ = 0;
    HPALETTE sharedPalette_;
    std::atomic<bool> scannerBusy_ = false;
};

/// The engine's result for an unexpected failure inside it: shown like a crash.
constexpr std::int16_t kEngineInternalError = -19;

/// Shows "An exception error occured in the imaging dll. ..." (shared with the effects
/// binding). Off the owner thread no window opens: the call's state gets the error instead.
void ShowImagingException();

template <class Entry, class Call>
bool EngineBinding::Invoke(const char* exportName, const QString& progress, Success rule,
                           Call call) {
    // The module stays loaded through the call, also when the call's progress lets other
    // work run on this thread.
    CallScope hold(State());
    void* entry = nullptr;
    if (!LoadEngineFunction(QString::fromLatin1(LibraryName), exportName, &entry))
        return false;
    State().ProgressText = progress;
    std::int16_t result;
    try {
        result = call(reinterpret_cast<Entry>(entry));
    } catch (...) {
        ShowEngineException();
        return false;
    }
    if (result == kEngineInternalError) {
        ShowEngineException();
        return false;
    }
    return Check(exportName, result, rule);
}

} // namespace imaging
