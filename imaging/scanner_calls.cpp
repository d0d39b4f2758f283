// SPDX-License-Identifier: MIT
// The scanner calls of the imaging engine; one at a time.
#include "imaging/engine_calls.h"

#include "imaging/engine_call_support.h"

namespace imaging {

using namespace calls;

namespace {
typedef std::int16_t (*ScanSelect)(void* window, std::int16_t zero);
typedef std::int16_t (*ScanAcquire)(void* window, std::int16_t depth, std::int16_t dither,
                                    std::int16_t zero1, HGLOBAL* dib, void* palette, void* user,
                                    ProgressCallback cb, std::int16_t zero);

// Sets the busy flag for the call and clears it after, also when the call throws.
template <class Call> bool Scanner(Call call) {
    EngineBinding& e = Engine();
    if (e.ScannerBusy())
        return false;
    e.SetScannerBusy(true);
    bool ok = false;
    try {
        ok = call();
    } catch (...) {
        e.SetScannerBusy(false);
        throw;
    }
    e.SetScannerBusy(false);
    return ok;
}
} // namespace

bool SelectSource(void* window) {
    return Scanner([&] {
        return Engine().Invoke<ScanSelect>("selectsource", QStringLiteral("Aquiring Image "),
                                           Success::ZeroOrMore,
                                           [&](auto f) { return f(window, 0); });
    });
}

bool AcquireDibImage(void* window, int depth, bool dither, HGLOBAL* dib, void* user,
                     ProgressCallback cb) {
    return Scanner([&] {
        return Engine().Invoke<ScanAcquire>(
            "aquiredibimage", QStringLiteral("Aquiring Image "), Success::ZeroOrMore, [&](auto f) {
                return f(window, static_cast<std::int16_t>(depth), dither ? 1 : 0, 0, dib, nullptr,
                         user, cb, 0);
            });
    });
}

} // namespace imaging
