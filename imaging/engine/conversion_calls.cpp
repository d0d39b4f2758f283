// SPDX-License-Identifier: MIT
// Depth conversions and "device bitmaps" of DIBs through the imaging engine.
#include "imaging/engine/engine_calls.h"

#include "imaging/engine/engine_call_support.h"

#include "imaging/dib/dib.h"
#include "platform/memory/memory_block.h"

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
    const platform::BlockLock locked(dib);
    HGLOBAL out = nullptr;
    try {
        out = reinterpret_cast<CrdeConvert>(entry)(locked.Memory());
    } catch (...) {
        ShowImagingException(); // the engine's crash, told to the user
    }
    return out;
}

bool DibToDdb(const void* lockedDib, HGLOBAL* flatDib, HGLOBAL* colourTable) {
    return Engine().Invoke<CrdeDibToDdb>(
        "DibtoDdb", Engine().ProgressText(), Success::AtLeastOne,
        [&](auto f) { return f(lockedDib, flatDib, colourTable); });
}

} // namespace imaging
