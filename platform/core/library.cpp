// SPDX-License-Identifier: MIT
#include "platform/core/library.h"

#include "platform/core/paths.h"
#include "platform/memory/global_memory.h"

#include <QFileInfo>
#include <QStringList>
#include <dlfcn.h>
#include <mutex>

namespace platform {

namespace {
// The last loader error, kept under a lock: several threads may load at once.
std::mutex& ErrorLock() {
    static std::mutex lock;
    return lock;
}
QString& LastErrorText() {
    static QString text;
    return text;
}
void SetLastError(const QString& text) {
    std::lock_guard hold(ErrorLock());
    LastErrorText() = text;
}

// Kept mapped after the last FreeLibrary (which still releases the handle): a library a module
// brings in may keep per-thread data (libjpeg does), and unmapping it would leave every thread
// that used it pointing into freed memory.
HMODULE OpenFile(const QString& path) {
    HMODULE handle = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) {
        const char* error = dlerror();
        SetLastError(error ? QString::fromLocal8Bit(error) : QStringLiteral("cannot load ") + path);
    }
    return handle;
}
} // namespace

QString PlatformLibraryName(const QString& name) {
    const QString dir = ExtractFilePath(name);
    QString file = ExtractFileName(name).toLower();
    if (file.endsWith(QLatin1String(".dll")))
        file.chop(4);
    if (file.isEmpty())
        return {};
    if (!file.startsWith(QLatin1String("lib")))
        file.prepend(QLatin1String("lib"));
    if (!file.endsWith(QLatin1String(".so")) && !file.contains(QLatin1String(".so.")))
        file.append(QLatin1String(".so"));
    return dir + file;
}

HMODULE LoadLibrary(const QString& name) {
    const QString mapped = PlatformLibraryName(name);
    if (mapped.isEmpty()) {
        SetLastError(QStringLiteral("empty library name"));
        return nullptr;
    }
    if (!ExtractFilePath(mapped).isEmpty())
        return OpenFile(mapped);

    const QString exeDir = ExtractFilePath(ExecutablePath());
    if (!exeDir.isEmpty() && QFileInfo::exists(exeDir + mapped)) {
        if (HMODULE handle = OpenFile(exeDir + mapped))
            return handle;
    }
    if (HMODULE handle = OpenFile(mapped))
        return handle;
    // The folder of the program's own shared libraries: what the run path names, also for
    // loaders (such as a sanitizer's) that do not apply the caller's run path.
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&GlobalAlloc), &info) && info.dli_fname) {
        const QString libDir = ExtractFilePath(QString::fromLocal8Bit(info.dli_fname));
        if (!libDir.isEmpty() && QFileInfo::exists(libDir + mapped))
            if (HMODULE handle = OpenFile(libDir + mapped))
                return handle;
    }
    const QString cwdPath = JoinPath(GetCurrentDir(), mapped);
    if (QFileInfo::exists(cwdPath))
        return OpenFile(cwdPath);
    return nullptr;
}

void* GetProcAddress(HMODULE library, const char* exportName) {
    if (!library || !exportName)
        return nullptr;
    return dlsym(library, exportName);
}

void FreeLibrary(HMODULE library) {
    if (library)
        dlclose(library);
}

QString LastLibraryError() {
    std::lock_guard hold(ErrorLock());
    return LastErrorText();
}

QString SearchPath(const QString& directoryList, const QString& name) {
    const QString file = ExtractFileName(PlatformLibraryName(name));
    const QString plain = ExtractFileName(name);
    for (const QString& dir : directoryList.split(u';', Qt::SkipEmptyParts)) {
        for (const QString& candidate : {file, plain}) {
            const QString path = JoinPath(dir, candidate);
            if (!candidate.isEmpty() && QFileInfo(path).isFile())
                return path;
        }
    }
    return {};
}

} // namespace platform
