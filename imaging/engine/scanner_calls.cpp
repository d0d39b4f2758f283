// SPDX-License-Identifier: MIT
// The scanner calls of the imaging engine; one at a time. The engine's host is filled here:
// its dialogs are the program's (through the dialog service) and the device chosen is kept
// in the scanner settings file.
#include "imaging/engine/engine_calls.h"

#include "imaging/dib/dib_convert.h"
#include "imaging/engine/engine_call_support.h"
#include "platform/core/dialogs.h"
#include "platform/core/profile.h"

#include <algorithm>
#include <cstring>

namespace imaging {

using namespace calls;
using platform::ScanRequest;

namespace {

const QString kSection = QStringLiteral("Imaging Twain");
const QString kDeviceKey = QStringLiteral("Device");
const QString kSettingsFile = QStringLiteral("iltwain.ini");

// The busy flag, claimed for a call in one step and cleared after it, also when it throws.
class ScannerClaim {
public:
    ScannerClaim()
        : claimed_(Engine().ClaimScanner()) {}
    ~ScannerClaim() {
        if (claimed_)
            Engine().SetScannerBusy(false);
    }
    ScannerClaim(const ScannerClaim&) = delete;
    ScannerClaim& operator=(const ScannerClaim&) = delete;
    bool Claimed() const { return claimed_; }

private:
    bool claimed_;
};

template <class Call> bool Scanner(Call call) {
    const ScannerClaim claim;
    return claim.Claimed() && call();
}

QString Text(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

// A preview DIB of the engine as an image.
QImage ImageOf(HGLOBAL dib) {
    TBitmap bitmap;
    QImage image;
    if (dib && DibHandleToBitmap(dib, bitmap) != 0)
        image = bitmap.Handle();
    FreeDib(dib);
    return image;
}

ScanRequest RequestOf(const char* device, const CrdeScanSettings& s) {
    ScanRequest r;
    r.device = Text(device);
    for (int i = 0; i < s.modeCount; ++i)
        r.modes << Text(s.modes[i]);
    r.mode = s.mode;
    for (int i = 0; i < s.resolutionCount; ++i)
        r.resolutions << s.resolutions[i];
    r.resolutionMin = s.resolutionMin;
    r.resolutionMax = s.resolutionMax;
    r.resolutionStep = s.resolutionStep;
    r.resolution = s.resolution;
    r.hasArea = s.hasArea != 0;
    r.areaLimit =
        QRectF(QPointF(s.areaLimit[0], s.areaLimit[1]), QPointF(s.areaLimit[2], s.areaLimit[3]));
    r.area = QRectF(QPointF(s.area[0], s.area[1]), QPointF(s.area[2], s.area[3]));
    return r;
}

// The user's choices back into the engine's settings, kept within what the device offers.
void Choose(const ScanRequest& r, CrdeScanSettings& s) {
    if (s.modeCount > 0)
        s.mode = std::clamp(r.mode, 0, s.modeCount - 1);
    if (s.resolution > 0 && r.resolution > 0)
        s.resolution = r.resolution;
    if (s.hasArea) {
        const QRectF area = r.area.normalized();
        s.area[0] = std::clamp(area.left(), s.areaLimit[0], s.areaLimit[2]);
        s.area[1] = std::clamp(area.top(), s.areaLimit[1], s.areaLimit[3]);
        s.area[2] = std::clamp(area.right(), s.areaLimit[0], s.areaLimit[2]);
        s.area[3] = std::clamp(area.bottom(), s.areaLimit[1], s.areaLimit[3]);
    }
}

// The host the engine calls back: the parent window of the dialogs.
struct Host {
    CrdeScanHost host{};
    QWidget* parent = nullptr;

    explicit Host(QWidget* p)
        : parent(p) {
        host.context = this;
        const QByteArray remembered = platform::GetPrivateProfileString(
                                          kSection, kDeviceKey, QString(), int(sizeof(host.device)),
                                          platform::ProfileFilePath(kSettingsFile))
                                          .toUtf8()
                                          .left(int(sizeof(host.device)) - 1);
        std::memcpy(host.device, remembered.constData(), std::size_t(remembered.size()));
        host.choose_device = [](void* context, const CrdeScanDevice* devices, std::int32_t count,
                                std::int32_t current) -> std::int32_t {
            QList<platform::ScannerDevice> list;
            for (std::int32_t i = 0; i < count; ++i)
                list.push_back({Text(devices[i].name), Text(devices[i].vendor),
                                Text(devices[i].model), Text(devices[i].type)});
            const auto chosen = platform::Dialogs().ChooseScanner(
                static_cast<Host*>(context)->parent, list, current);
            return chosen ? *chosen : -1;
        };
        host.scan_dialog = [](void* context, const char* device, CrdeScanSettings* settings,
                              CrdeScanPreview preview, void* session) -> std::int32_t {
            ScanRequest request = RequestOf(device, *settings);
            request.preview = [settings, preview, session](const ScanRequest& current) {
                CrdeScanSettings asked = *settings;
                Choose(current, asked);
                return ImageOf(preview(session, &asked));
            };
            if (!platform::Dialogs().ScanSettings(static_cast<Host*>(context)->parent, request))
                return 0;
            Choose(request, *settings);
            return 1;
        };
    }
    QString Device() const {
        return QString::fromUtf8(host.device, int(strnlen(host.device, sizeof(host.device))));
    }
};

} // namespace

bool SelectSource(QWidget* parent) {
    return Scanner([&] {
        Host host(parent);
        std::int16_t result = 0;
        const bool ok = Engine().Invoke<CrdeSelectSource>(
            "selectsource", QStringLiteral("Aquiring Image "), Success::ZeroOrMore, [&](auto f) {
                result = f(&host.host, 0);
                return result;
            });
        if (ok && result > 0)
            platform::WritePrivateProfileString(kSection, kDeviceKey, host.Device(), kSettingsFile);
        return ok;
    });
}

bool AcquireDibImage(QWidget* parent, int depth, bool dither, HGLOBAL* dib, void* user,
                     ProgressCallback cb) {
    return Scanner([&] {
        Host host(parent);
        return Engine().Invoke<CrdeAcquire>(
            "aquiredibimage", QStringLiteral("Aquiring Image "), Success::ZeroOrMore, [&](auto f) {
                return f(&host.host, static_cast<std::int16_t>(depth), dither ? 1 : 0, 0, dib,
                         nullptr, user, cb, 0);
            });
    });
}

} // namespace imaging
