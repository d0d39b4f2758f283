// SPDX-License-Identifier: MIT
#include "imaging/decoding/read_ahead.h"

#include <algorithm>

namespace imaging {

ReadAhead::~ReadAhead() {
    Clear();
}

namespace {

DecodeRequest Bounded(DecodeRequest request) {
    request.MaxPixels = ReadAhead::kMaxPixels;
    return request;
}

} // namespace

void ReadAhead::Want(const std::vector<DecodeRequest>& wanted) {
    std::vector<DecodeRequest> requests;
    for (const DecodeRequest& r : wanted)
        requests.push_back(Bounded(r));
    std::vector<std::shared_ptr<DecodeJob>> kept;
    for (const DecodeRequest& request : requests) {
        if (request.Blob.isEmpty())
            continue;
        const auto same = std::find_if(jobs_.begin(), jobs_.end(), [&](const auto& job) {
            return job && job->Request().SamePicture(request);
        });
        if (same != jobs_.end()) {
            kept.push_back(std::move(*same));
            continue;
        }
        // Earlier requests more urgent: the first gets the highest priority.
        kept.push_back(decoder_.Submit(request, int(requests.size() - kept.size())));
    }
    for (const auto& job : jobs_)
        if (job)
            job->Cancel();
    jobs_ = std::move(kept);
}

std::optional<DecodeResult> ReadAhead::Take(const DecodeRequest& asked) {
    const DecodeRequest request = Bounded(asked);
    const auto it = std::find_if(jobs_.begin(), jobs_.end(), [&](const auto& job) {
        return job->Request().SamePicture(request);
    });
    if (it == jobs_.end())
        return std::nullopt;
    const std::shared_ptr<DecodeJob> job = *it;
    jobs_.erase(it);
    if (!job->Started()) {
        job->Cancel();
        return std::nullopt;
    }
    const DecodeResult& result = job->Wait();
    if (result.What == DecodeResult::Kind::Failed || result.What == DecodeResult::Kind::Cancelled ||
        result.What == DecodeResult::Kind::Skipped)
        return std::nullopt;
    return result;
}

void ReadAhead::Clear() {
    for (const auto& job : jobs_)
        job->Cancel();
    jobs_.clear();
}

} // namespace imaging
