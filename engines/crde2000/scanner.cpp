// SPDX-License-Identifier: MIT
#include "engines/crde2000/scanner.h"

#include "engines/shared/codes.h"
#include "engines/shared/depth.h"
#include "engines/shared/dib_block.h"

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace crde {

namespace {

// SANE initialised for the length of one call.
class SaneSession {
public:
    SaneSession() { ok_ = sane_init(nullptr, nullptr) == SANE_STATUS_GOOD; }
    ~SaneSession() {
        if (ok_)
            sane_exit();
    }
    bool Ok() const { return ok_; }
    std::vector<const SANE_Device*> Devices() const {
        std::vector<const SANE_Device*> out;
        const SANE_Device** list = nullptr;
        if (ok_ && sane_get_devices(&list, SANE_TRUE) == SANE_STATUS_GOOD && list)
            for (; *list; ++list)
                out.push_back(*list);
        return out;
    }

private:
    bool ok_ = false;
};

class Device {
public:
    explicit Device(const char* name) {
        if (sane_open(name, &handle_) != SANE_STATUS_GOOD)
            handle_ = nullptr;
    }
    ~Device() {
        if (handle_)
            sane_close(handle_);
    }
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;
    SANE_Handle Handle() const { return handle_; }

    // The option of that name, or -1.
    int Find(const char* name) const {
        SANE_Int count = 0;
        if (sane_control_option(handle_, 0, SANE_ACTION_GET_VALUE, &count, nullptr) !=
            SANE_STATUS_GOOD)
            return -1;
        for (int i = 1; i < count; ++i) {
            const SANE_Option_Descriptor* d = sane_get_option_descriptor(handle_, i);
            if (d && d->name && std::strcmp(d->name, name) == 0 && SANE_OPTION_IS_ACTIVE(d->cap))
                return i;
        }
        return -1;
    }
    const SANE_Option_Descriptor* Describe(int option) const {
        return option > 0 ? sane_get_option_descriptor(handle_, option) : nullptr;
    }
    // A number option (integer or fixed) as a double.
    double Number(int option) const {
        const SANE_Option_Descriptor* d = Describe(option);
        if (!d || d->size < SANE_Int(sizeof(SANE_Word)))
            return 0;
        std::vector<SANE_Word> value(std::size_t(d->size) / sizeof(SANE_Word) + 1);
        if (sane_control_option(handle_, option, SANE_ACTION_GET_VALUE, value.data(), nullptr) !=
            SANE_STATUS_GOOD)
            return 0;
        return d->type == SANE_TYPE_FIXED ? SANE_UNFIX(value[0]) : double(value[0]);
    }
    void SetNumber(int option, double v) const {
        const SANE_Option_Descriptor* d = Describe(option);
        if (!d || !SANE_OPTION_IS_SETTABLE(d->cap))
            return;
        SANE_Word word = d->type == SANE_TYPE_FIXED ? SANE_FIX(v) : SANE_Word(std::lround(v));
        sane_control_option(handle_, option, SANE_ACTION_SET_VALUE, &word, nullptr);
    }
    std::string Text(int option) const {
        const SANE_Option_Descriptor* d = Describe(option);
        if (!d || d->type != SANE_TYPE_STRING || d->size <= 0)
            return {};
        std::vector<char> value(std::size_t(d->size) + 1, '\0');
        if (sane_control_option(handle_, option, SANE_ACTION_GET_VALUE, value.data(), nullptr) !=
            SANE_STATUS_GOOD)
            return {};
        return std::string(value.data());
    }
    void SetText(int option, const std::string& v) const {
        const SANE_Option_Descriptor* d = Describe(option);
        if (!d || !SANE_OPTION_IS_SETTABLE(d->cap) || d->size <= 0)
            return;
        std::vector<char> value(std::max<std::size_t>(std::size_t(d->size), v.size() + 1), '\0');
        std::memcpy(value.data(), v.c_str(), v.size());
        sane_control_option(handle_, option, SANE_ACTION_SET_VALUE, value.data(), nullptr);
    }

private:
    SANE_Handle handle_ = nullptr;
};

// What the settings point into, kept alive for the dialog.
struct SettingsStore {
    std::vector<std::string> modeNames;
    std::vector<const char*> modes;
    std::vector<double> resolutions;
    CrdeScanSettings settings{};
};

const char* const kArea[4] = {SANE_NAME_SCAN_TL_X, SANE_NAME_SCAN_TL_Y, SANE_NAME_SCAN_BR_X,
                              SANE_NAME_SCAN_BR_Y};

void ReadSettings(const Device& device, SettingsStore& store) {
    CrdeScanSettings& s = store.settings;
    s = CrdeScanSettings{};
    s.mode = -1;
    if (int mode = device.Find(SANE_NAME_SCAN_MODE); mode > 0) {
        const SANE_Option_Descriptor* d = device.Describe(mode);
        if (d->constraint_type == SANE_CONSTRAINT_STRING_LIST && d->constraint.string_list) {
            const std::string current = device.Text(mode);
            for (const SANE_String_Const* m = d->constraint.string_list; *m; ++m) {
                if (current == *m)
                    s.mode = int(store.modeNames.size());
                store.modeNames.emplace_back(*m);
            }
        }
    }
    for (const std::string& name : store.modeNames)
        store.modes.push_back(name.c_str());
    s.modeCount = int(store.modes.size());
    s.modes = store.modes.data();
    if (s.mode < 0 && s.modeCount > 0)
        s.mode = 0;

    if (int res = device.Find(SANE_NAME_SCAN_RESOLUTION); res > 0) {
        const SANE_Option_Descriptor* d = device.Describe(res);
        const bool fixed = d->type == SANE_TYPE_FIXED;
        auto value = [fixed](SANE_Word w) { return fixed ? SANE_UNFIX(w) : double(w); };
        if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST && d->constraint.word_list) {
            const SANE_Int n = d->constraint.word_list[0];
            for (SANE_Int i = 1; i <= n; ++i)
                store.resolutions.push_back(value(d->constraint.word_list[i]));
        } else if (d->constraint_type == SANE_CONSTRAINT_RANGE && d->constraint.range) {
            s.resolutionMin = value(d->constraint.range->min);
            s.resolutionMax = value(d->constraint.range->max);
            s.resolutionStep = value(d->constraint.range->quant);
        }
        s.resolution = device.Number(res);
    }
    s.resolutionCount = int(store.resolutions.size());
    s.resolutions = store.resolutions.data();

    s.hasArea = 1;
    for (int k = 0; k < 4; ++k) {
        const int option = device.Find(kArea[k]);
        const SANE_Option_Descriptor* d = device.Describe(option);
        if (!d || d->constraint_type != SANE_CONSTRAINT_RANGE || !d->constraint.range) {
            s.hasArea = 0;
            break;
        }
        const bool fixed = d->type == SANE_TYPE_FIXED;
        const SANE_Word limit = k < 2 ? d->constraint.range->min : d->constraint.range->max;
        s.areaLimit[k] = fixed ? SANE_UNFIX(limit) : double(limit);
        s.area[k] = device.Number(option);
    }
}

void ApplySettings(const Device& device, const CrdeScanSettings& s,
                   const std::vector<std::string>& modeNames) {
    if (s.mode >= 0 && s.mode < int(modeNames.size()))
        device.SetText(device.Find(SANE_NAME_SCAN_MODE), modeNames[std::size_t(s.mode)]);
    if (s.resolution > 0)
        device.SetNumber(device.Find(SANE_NAME_SCAN_RESOLUTION), s.resolution);
    if (s.hasArea)
        for (int k = 0; k < 4; ++k)
            device.SetNumber(device.Find(kArea[k]), s.area[k]);
}

// One scanned frame as a DIB: grey at 1 or 8 bits (16 keeps the high byte), colour at 24.
std::int16_t Scan(const Device& device, HGLOBAL* dib, void* user, CrdeProgress cb) {
    SANE_Handle h = device.Handle();
    if (sane_start(h) != SANE_STATUS_GOOD)
        return engine::kErrScanner;
    struct Stop {
        SANE_Handle h;
        ~Stop() { sane_cancel(h); }
    } stop{h};
    SANE_Parameters p{};
    if (sane_get_parameters(h, &p) != SANE_STATUS_GOOD || p.pixels_per_line <= 0 ||
        p.bytes_per_line <= 0 || !p.last_frame ||
        (p.format != SANE_FRAME_GRAY && p.format != SANE_FRAME_RGB) ||
        (p.depth != 1 && p.depth != 8 && p.depth != 16) ||
        (p.format == SANE_FRAME_RGB && p.depth == 1))
        return engine::kErrUnsupported; // three-pass colour and odd depths are not offered
    const std::size_t lineBytes = std::size_t(p.bytes_per_line);
    const std::int64_t expected = p.lines > 0 ? p.lines : -1;
    if (expected > 0 &&
        std::uint64_t(expected) * std::uint64_t(p.pixels_per_line) > engine::kMaxPixels)
        return engine::kErrTooLarge;
    std::vector<std::uint8_t> data;
    if (expected > 0)
        data.reserve(lineBytes * std::size_t(expected));
    std::vector<std::uint8_t> chunk(64 * 1024);
    int lastPercent = -1;
    for (;;) {
        SANE_Int got = 0;
        const SANE_Status status = sane_read(h, chunk.data(), SANE_Int(chunk.size()), &got);
        if (status == SANE_STATUS_EOF)
            break;
        if (status != SANE_STATUS_GOOD)
            return status == SANE_STATUS_CANCELLED ? engine::kErrCancelled : engine::kErrScanner;
        data.insert(data.end(), chunk.begin(), chunk.begin() + got);
        if (data.size() / lineBytes * std::uint64_t(p.pixels_per_line) > engine::kMaxPixels)
            return engine::kErrTooLarge;
        if (cb && expected > 0) {
            const int percent =
                int(std::min<std::uint64_t>(100, data.size() * 100 / (lineBytes * expected)));
            if (percent != lastPercent) {
                lastPercent = percent;
                if (cb(static_cast<std::int16_t>(percent), user) == 0)
                    return engine::kErrCancelled;
            }
        }
    }
    const std::int64_t lines = std::int64_t(data.size() / lineBytes);
    if (lines <= 0)
        return engine::kErrScanner;
    const std::int64_t width = p.pixels_per_line;
    const bool grey = p.format == SANE_FRAME_GRAY;
    const int bits = grey ? (p.depth == 1 ? 1 : 8) : 24;
    engine::NewDib out;
    if (const std::int16_t r = out.Create(width, lines, bits, bits <= 8 ? 1 << bits : 0);
        r != engine::kOk)
        return r;
    if (bits == 1) {
        out.SetColour(0, 255, 255, 255); // SANE's set bit is black
        out.SetColour(1, 0, 0, 0);
    } else if (bits == 8) {
        for (int i = 0; i < 256; ++i)
            out.SetColour(i, std::uint8_t(i), std::uint8_t(i), std::uint8_t(i));
    }
    const int step = p.depth == 16 ? 2 : 1;
    // Sixteen-bit samples come in the machine's byte order: the high byte is the second on
    // little-endian machines.
    const int high = p.depth == 16 ? 1 : 0;
    for (std::int64_t y = 0; y < lines; ++y) {
        const std::uint8_t* in = data.data() + lineBytes * std::size_t(y);
        std::uint8_t* row = out.Row(y);
        if (bits == 1) {
            std::memcpy(row, in, std::min<std::size_t>(lineBytes, std::size_t((width + 7) / 8)));
        } else if (bits == 8) {
            for (std::int64_t x = 0; x < width; ++x)
                row[x] = in[std::size_t(x) * step + high];
        } else {
            for (std::int64_t x = 0; x < width; ++x) {
                const std::uint8_t* px = in + std::size_t(x) * 3 * step;
                row[3 * x + 0] = px[2 * step + high];
                row[3 * x + 1] = px[1 * step + high];
                row[3 * x + 2] = px[0 * step + high];
            }
        }
    }
    *dib = out.Release();
    return 1;
}

// The device remembered, if SANE still has it, else the first one.
std::string ChooseDevice(const CrdeScanHost* host, const std::vector<const SANE_Device*>& devices) {
    const std::string remembered(host->device, strnlen(host->device, sizeof(host->device)));
    for (const SANE_Device* d : devices)
        if (remembered == d->name)
            return remembered;
    return devices.front()->name;
}

struct PreviewSession {
    const Device* device;
    const std::vector<std::string>* modeNames;
};

HGLOBAL Preview(void* session, const CrdeScanSettings* settings) {
    try {
        const auto* s = static_cast<const PreviewSession*>(session);
        if (!s || !settings)
            return nullptr;
        CrdeScanSettings quick = *settings;
        std::copy(std::begin(settings->areaLimit), std::end(settings->areaLimit), quick.area);
        // A low resolution the device offers.
        if (quick.resolutionCount > 0)
            quick.resolution =
                *std::min_element(quick.resolutions, quick.resolutions + quick.resolutionCount);
        else if (quick.resolution > 0)
            quick.resolution = std::clamp(30.0, quick.resolutionMin, quick.resolutionMax);
        ApplySettings(*s->device, quick, *s->modeNames);
        HGLOBAL dib = nullptr;
        const std::int16_t r = Scan(*s->device, &dib, nullptr, nullptr);
        ApplySettings(*s->device, *settings, *s->modeNames);
        return r > 0 ? dib : nullptr;
    } catch (...) {
        return nullptr;
    }
}

} // namespace

std::int16_t SelectSource(CrdeScanHost* host) {
    if (!host)
        return engine::kErrBadArgument;
    SaneSession sane;
    const auto devices = sane.Devices();
    if (devices.empty())
        return engine::kErrNoScanner;
    std::vector<CrdeScanDevice> list;
    int current = 0;
    const std::string chosen = ChooseDevice(host, devices);
    for (const SANE_Device* d : devices) {
        if (chosen == d->name)
            current = int(list.size());
        list.push_back({d->name, d->vendor, d->model, d->type});
    }
    int index = current;
    if (host->choose_device)
        index = host->choose_device(host->context, list.data(), int(list.size()), current);
    if (index < 0 || index >= int(list.size()))
        return 0;
    std::snprintf(host->device, sizeof(host->device), "%s", list[std::size_t(index)].name);
    return 1;
}

std::int16_t Acquire(CrdeScanHost* host, int depth, bool dither, HGLOBAL* dib, void* user,
                     CrdeProgress cb) {
    if (!host || !dib)
        return engine::kErrBadArgument;
    *dib = nullptr;
    SaneSession sane;
    const auto devices = sane.Devices();
    if (devices.empty())
        return engine::kErrNoScanner;
    const std::string name = ChooseDevice(host, devices);
    Device device(name.c_str());
    if (!device.Handle())
        return engine::kErrScanner;
    SettingsStore store;
    ReadSettings(device, store);
    if (host->scan_dialog) {
        PreviewSession session{&device, &store.modeNames};
        if (host->scan_dialog(host->context, name.c_str(), &store.settings, &Preview, &session) <=
            0)
            return 0;
    }
    ApplySettings(device, store.settings, store.modeNames);
    HGLOBAL scanned = nullptr;
    if (const std::int16_t r = Scan(device, &scanned, user, cb); r <= 0)
        return r;
    if (const std::int16_t r = engine::ApplyReadDepth(&scanned, depth, dither); r != engine::kOk) {
        GlobalFree(scanned);
        return r;
    }
    *dib = scanned;
    return 1;
}

} // namespace crde
