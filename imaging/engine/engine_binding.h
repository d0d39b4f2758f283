// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/crde2000.h"
#include "imaging/palette.h"
#include "platform/core/library.h"

#include <QString>

#include <cstdint>

namespace imaging {

/// The engine's progress callback: (progress, user) → 1 go on, 0 stop.
using ProgressCallback = CrdeProgress;

/// The last failure the engine reported.
struct EngineError {
    std::int16_t Code = 0;
    QString Text;
};

/// The one holder of the imaging engine for the process: it finds and loads the module on
/// first use, looks exports up by name and runs every call through one guarded pattern.
class EngineBinding {
public:
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

    platform::HMODULE EngineLibrary() const { return engine_; }
    bool EngineLoaded() const { return engine_ != nullptr; }
    const EngineError& LastEngineError() const { return lastError_; }
    void SetLastEngineError(std::int16_t code, const QString& text) { lastError_ = {code, text}; }
    const QString& ProgressText() const { return progressText_; }
    void SetProgressText(const QString& text) { progressText_ = text; }
    double LibraryVersion() const { return libraryVersion_; }
    const HPALETTE& SharedPalette() const { return sharedPalette_; }
    bool ScannerBusy() const { return scannerBusy_; }
    void SetScannerBusy(bool busy) { scannerBusy_ = busy; }

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
    static void ShowEngineException();

    int starts_ = 0;
    platform::HMODULE engine_ = nullptr;
    EngineError lastError_;
    QString progressText_;
    double libraryVersion_ = 0;
    HPALETTE sharedPalette_;
    bool scannerBusy_ = false;
};

/// The engine's result for an unexpected failure inside it: shown like a crash.
constexpr std::int16_t kEngineInternalError = -19;

/// Shows "An exception error occured in the imaging dll. ..." (shared with the effects
/// binding).
void ShowImagingException();

template <class Entry, class Call>
bool EngineBinding::Invoke(const char* exportName, const QString& progress, Success rule,
                           Call call) {
    void* entry = nullptr;
    if (!LoadEngineFunction(QString::fromLatin1(LibraryName), exportName, &entry))
        return false;
    progressText_ = progress;
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
