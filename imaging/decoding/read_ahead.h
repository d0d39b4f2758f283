// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/decoding/decoder.h"

#include <memory>
#include <optional>
#include <vector>

namespace imaging {

/// Pictures decoded before they are shown: the records next to the current one. Used from
/// one thread (the GUI's); the decodes run on the decoder's workers.
class ReadAhead {
public:
    explicit ReadAhead(Decoder& decoder)
        : decoder_(decoder) {}
    /// Cancels what it still reads.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    /// Pictures of more pixels are not read ahead: two neighbours held would take more memory
    /// than the shown picture itself (24 Mpixel: 72 MB at 24 bits each).
    static constexpr std::int64_t kMaxPixels = 24'000'000;

    /// Reads these ahead, the first most urgently; what was read ahead for other pictures is
    /// cancelled or let go. Requests larger than kMaxPixels are skipped.
    void Want(const std::vector<DecodeRequest>& requests);
    /// The picture read ahead for the same request: waits for a decode already running or
    /// done; one not yet started is dropped (the caller decodes it itself, with its progress
    /// shown). Nothing when there is none, or it failed.
    std::optional<DecodeResult> Take(const DecodeRequest& request);
    /// Cancels and forgets everything.
    void Clear();
    /// How many pictures are being read ahead or held (for tests).
    int Held() const { return int(jobs_.size()); }

private:
    Decoder& decoder_;
    std::vector<std::shared_ptr<DecodeJob>> jobs_;
};

} // namespace imaging
