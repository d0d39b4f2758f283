// SPDX-License-Identifier: MIT
#include "controls/imageview/sharp_rendering.h"

#include "imaging/decoding/picture_decoding.h"

#include <algorithm>
#include <cmath>

namespace controls {

namespace {

// What the person looks at goes before read-ahead and tiles.
constexpr int kPriority = 1000;

} // namespace

SharpRendering::SharpRendering(QObject* parent)
    : QObject(parent) {
    mailbox_->Owner = this;
    settle_.setSingleShot(true);
    connect(&settle_, &QTimer::timeout, this, &SharpRendering::Ask);
}

SharpRendering::~SharpRendering() {
    {
        std::lock_guard hold(mailbox_->Lock);
        mailbox_->Owner = nullptr;
    }
    if (job_)
        job_->Cancel();
}

void SharpRendering::Shown(const QString& loadName, imaging::DecodeRequest request,
                           const QImage& shown) {
    Clear();
    if (!imaging::RendersAtScale(loadName) || shown.isNull())
        return;
    source_ = std::move(request);
    source_.RenderSize = {};
    source_.MaxPixels = 0;
    held_ = true;
    shownKey_ = shown.cacheKey();
    shownSize_ = shown.size();
}

void SharpRendering::Clear() {
    if (job_)
        job_->Cancel();
    job_.reset();
    settle_.stop();
    source_ = {};
    held_ = false;
    image_ = {};
    scale_ = asking_ = 0;
}

bool SharpRendering::Matches(const QImage& shown) const {
    return held_ && shown.cacheKey() == shownKey_;
}

double SharpRendering::Wanted(double times, const QImage& shown) const {
    if (!Matches(shown) || !std::isfinite(times) || shownSize_.isEmpty())
        return 0;
    const double pixels = double(shownSize_.width()) * shownSize_.height();
    const double most = std::min(imaging::kMaxRenderScale, std::sqrt(kMaxPixels / pixels));
    // In thousandths, as the engine takes it; a picture barely enlarged is left as it is.
    const double scale = std::round(std::min(times, most) * 1000) / 1000;
    return scale > 1.01 ? scale : 0;
}

const QImage* SharpRendering::At(double scale, const QImage& shown) {
    if (scale <= 0 || !Matches(shown))
        return nullptr;
    if (scale == scale_ && !image_.isNull())
        return &image_;
    if (scale != asking_) {
        // A new zoom: what was asked for before is of no use any more.
        asking_ = scale;
        if (job_)
            job_->Cancel();
        job_.reset();
        settle_.start(kSettleMs);
    }
    return nullptr;
}

imaging::DecodeRequest SharpRendering::At(double scale) const {
    imaging::DecodeRequest request = source_;
    request.Scale = scale;
    return request;
}

void SharpRendering::Ask() {
    if (!decoder_ || !held_ || asking_ <= 0)
        return;
    std::shared_ptr<Mailbox> mailbox = mailbox_;
    job_ = decoder_->Submit(At(asking_), kPriority, [mailbox](const imaging::DecodeJob&) {
        std::lock_guard hold(mailbox->Lock);
        if (mailbox->Owner)
            QMetaObject::invokeMethod(mailbox->Owner, &SharpRendering::Collect,
                                      Qt::QueuedConnection);
    });
}

void SharpRendering::Collect() {
    if (!job_ || !job_->Done())
        return;
    const imaging::DecodeResult& result = job_->Wait();
    const bool fresh = job_->Request().Scale == asking_;
    // A picture the engine cannot draw again keeps its scaled pixels; it is not asked again
    // at this scale.
    if (fresh && result.What == imaging::DecodeResult::Kind::Picture) {
        image_ = result.Bitmap.Handle();
        scale_ = asking_;
    }
    job_.reset();
    if (fresh && !image_.isNull())
        emit Arrived();
}

QImage SharpRendering::Now(double scale, const QImage& shown) {
    if (scale <= 0 || !Matches(shown))
        return {};
    if (scale == scale_ && !image_.isNull())
        return image_;
    const imaging::DecodeRequest request = At(scale);
    const imaging::DecodeResult result = decoder_ ? decoder_->Submit(request, kPriority)->Wait()
                                                  : imaging::Decoder::DecodeNow(request);
    return result.What == imaging::DecodeResult::Kind::Picture ? result.Bitmap.Handle() : QImage();
}

} // namespace controls
