// SPDX-License-Identifier: MIT
// Depth conversions and "device bitmaps" of DIBs through the imaging engine.
#include "imaging/engine/engine_calls.h"

#include "imaging/engine/engine_call_support.h"

#include "imaging/dib/dib.h"

namespace imaging {

using namespace calls;

HGLOBAL ConvertDib(const char* exportName, HGLOBAL dib) {
    if (!dib)
        return nullptr;
    EngineBinding::CallScope hold; // the module stays loaded until the call is done
    void* entry = nullptr;
    if (!Engine().LoadEngineFunction(QString::fromLatin1(EngineBinding::LibraryName), exportName,
                                     &entry))
        return nullptr;
    void* locked = GlobalLock(dib);
    HGLOBAL out = nullptr;
    try {
        out = reinterpret_cast<CrdeConvert>(entry)(locked);
    } catch (...) {
        ShowImagingException();
    }
    GlobalUnlock(dib);
    return out;
}

bool DibToDdb(const void* lockedDib, HGLOBAL* flatDib, HGLOBAL* colourTable) {
    return Engine().Invoke<CrdeDibToDdb>(
        "DibtoDdb", Engine().ProgressText(), Success::AtLeastOne,
        [&](auto f) { return f(lockedDib, flatDib, colourTable); });
}

} // namespace imaging
