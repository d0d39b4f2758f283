// SPDX-License-Identifier: MIT
#include "imaging/decoding/decoder.h"

#include "imaging/decoding/picture_decoding.h"
#include "imaging/error_invalid.h"
#include "imaging/formats/format_table.h"

#include <QPainter>

#include <algorithm>

namespace imaging {

namespace {

// Fitted into the size, in proportion and centred; transparent round it.
QImage Fitted(QSize natural, QSize size, const std::function<void(QPainter&, QRectF)>& draw) {
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    if (natural.isEmpty())
        return out;
    const QSizeF shown = QSizeF(natural).scaled(QSizeF(size), Qt::KeepAspectRatio);
    const QRectF target(
        QPointF((size.width() - shown.width()) / 2, (size.height() - shown.height()) / 2), shown);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, target);
    return out;
}

} // namespace

bool DecodeRequest::SamePicture(const DecodeRequest& other) const {
    return Depth == other.Depth && Dither == other.Dither && TiffPage == other.TiffPage &&
           PcdMode == other.PcdMode && PixelsPerInch == other.PixelsPerInch &&
           RenderSize == other.RenderSize && MaxPixels == other.MaxPixels && Scale == other.Scale &&
           Blob == other.Blob;
}

bool DecodeJob::Started() const {
    std::lock_guard hold(lock_);
    return started_ || done_;
}

bool DecodeJob::Done() const {
    std::lock_guard hold(lock_);
    return done_;
}

const DecodeResult& DecodeJob::Wait() const {
    std::unique_lock hold(lock_);
    finished_.wait(hold, [this] { return done_; });
    return result_;
}

std::int16_t DecodeJob::OnProgress(std::int16_t progress, void* user) {
    auto* job = static_cast<DecodeJob*>(user);
    job->progress_ = std::clamp<int>(progress, 0, 100);
    return job->cancelled_ ? 0 : 1;
}

Decoder::Decoder(int workers) {
    if (workers <= 0)
        workers = int(std::max(1u, std::thread::hardware_concurrency()));
    threads_.reserve(std::size_t(workers));
    for (int i = 0; i < workers; ++i)
        threads_.emplace_back([this] { Work(); });
}

Decoder::~Decoder() {
    DropQueued();
    {
        std::lock_guard hold(lock_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

std::shared_ptr<DecodeJob> Decoder::Submit(DecodeRequest request, int priority,
                                           std::function<void(const DecodeJob&)> done) {
    auto job = std::make_shared<DecodeJob>();
    job->request_ = std::move(request);
    job->priority_ = priority;
    job->onDone_ = std::move(done);
    {
        std::lock_guard hold(lock_);
        job->order_ = submitted_++;
        queue_.push_back(job);
    }
    wake_.notify_one();
    return job;
}

void Decoder::DropQueued() {
    std::vector<std::shared_ptr<DecodeJob>> dropped;
    {
        std::lock_guard hold(lock_);
        dropped.swap(queue_);
    }
    for (const auto& job : dropped) {
        job->Cancel();
        DecodeResult cancelled;
        cancelled.What = DecodeResult::Kind::Cancelled;
        Finish(*job, std::move(cancelled));
    }
    idle_.notify_all();
}

void Decoder::WaitIdle() {
    std::unique_lock hold(lock_);
    idle_.wait(hold, [this] { return queue_.empty() && running_ == 0; });
}

void Decoder::Finish(DecodeJob& job, DecodeResult result) {
    {
        std::lock_guard hold(job.lock_);
        job.result_ = std::move(result);
        job.done_ = true;
    }
    job.finished_.notify_all();
}

void Decoder::Work() {
    for (;;) {
        std::shared_ptr<DecodeJob> job;
        {
            std::unique_lock hold(lock_);
            wake_.wait(hold, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_ && queue_.empty())
                return;
            // The most urgent, the oldest among equals; cancelled ones are passed by.
            auto best = std::min_element(queue_.begin(), queue_.end(), [](auto& a, auto& b) {
                return a->priority_ != b->priority_ ? a->priority_ > b->priority_
                                                    : a->order_ < b->order_;
            });
            job = *best;
            queue_.erase(best);
            ++running_;
        }
        DecodeResult result;
        if (job->cancelled_) {
            result.What = DecodeResult::Kind::Cancelled;
        } else {
            {
                std::lock_guard hold(job->lock_);
                job->started_ = true;
            }
            result = DecodeNow(job->request_, &job->cancelled_, job.get(), &DecodeJob::OnProgress);
        }
        Finish(*job, std::move(result));
        if (job->onDone_ && job->result_.What != DecodeResult::Kind::Cancelled)
            job->onDone_(*job);
        bool idle;
        {
            std::lock_guard hold(lock_);
            idle = --running_ == 0 && queue_.empty();
        }
        if (idle) // waiters are woken once, when there is nothing left
            idle_.notify_all();
    }
}

DecodeResult Decoder::DecodeNow(const DecodeRequest& request, const std::atomic<bool>* cancelled,
                                void* user, ProgressCallback progress) {
    DecodeResult r;
    CallState engine;
    EngineBinding::CallScope scope(engine);
    auto failed = [&] {
        const bool stopped = cancelled && *cancelled;
        r.What = stopped ? DecodeResult::Kind::Cancelled : DecodeResult::Kind::Failed;
        r.Error = engine.Error;
        return r;
    };
    try {
        if (request.Blob.isEmpty())
            return r; // nothing
        const Detection found =
            DetectBlob(request.Blob, request.TiffPage, r.Info, request.PixelsPerInch);
        r.LoadName = found.loadName;
        if (found.engineError)
            return failed();
        const QString& name = r.LoadName;
        const std::optional<PictureKind> kind = KindOfLoadName(name);
        if (kind == PictureKind::Credit || kind == PictureKind::Note) {
            r.What = DecodeResult::Kind::Message;
        } else if (kind == PictureKind::Metafile) {
            if (!r.Drawing.Load(request.Blob, request.PixelsPerInch))
                return r;
            r.What = DecodeResult::Kind::Drawing;
            if (!request.RenderSize.isEmpty())
                r.Rendered = Fitted(r.Drawing.Size(), request.RenderSize,
                                    [&](QPainter& p, QRectF target) { r.Drawing.Play(p, target); });
        } else if (kind == PictureKind::Picture || kind == PictureKind::Drawing) {
            const double scale = RendersAtScale(name) ? request.Scale : 1;
            if (request.MaxPixels > 0 &&
                double(r.Info.BlobWidth) * r.Info.BlobHeight * scale * scale >
                    double(request.MaxPixels)) {
                r.What = DecodeResult::Kind::Skipped;
                return r;
            }
            const ReadPlan plan =
                PlanRead(name, r.Info, request.Depth, request.TiffPage, request.PcdMode);
            r.Bitmap.SetMonochrome(plan.monochrome);
            const bool decoded =
                scale != 1 ? DecodeScaledBlob(request.Blob, plan.depth, request.Dither, scale,
                                              r.Bitmap, user, progress)
                           : DecodePictureBlob(name, request.Blob, plan.depth, request.Dither,
                                               plan.option, r.Bitmap, user, progress);
            if (!decoded)
                return failed();
            r.What = DecodeResult::Kind::Picture;
            if (!request.RenderSize.isEmpty()) {
                // Made smaller by averaging the pixels each target pixel covers (a painter's
                // scaling samples them, and loses the thin lines of a picture made small), in
                // full colour: a one-bit or palette picture made small turns to greys.
                // A large one is first sampled down to four times the size asked in its own
                // depth, so a big scan is never held at 32 bits a pixel.
                QImage held = r.Bitmap.Handle();
                const QSize near = held.size().scaled(request.RenderSize * 4, Qt::KeepAspectRatio);
                if (held.depth() < 24 && near.width() < held.width())
                    held = held.scaled(near, Qt::IgnoreAspectRatio, Qt::FastTransformation);
                const QImage image =
                    held.depth() >= 24
                        ? held
                        : held.convertToFormat(held.hasAlphaChannel()
                                                   ? QImage::Format_ARGB32_Premultiplied
                                                   : QImage::Format_RGB32);
                r.Rendered =
                    Fitted(image.size(), request.RenderSize, [&](QPainter& p, QRectF target) {
                        const QSize size = target.size().toSize().expandedTo(QSize(1, 1));
                        p.drawImage(target.topLeft(), image.scaled(size, Qt::IgnoreAspectRatio,
                                                                   Qt::SmoothTransformation));
                    });
            }
        }
    } catch (const platform::Exception& e) {
        // The binding's own errors, such as a module that cannot be loaded.
        r = {};
        r.What = DecodeResult::Kind::Failed;
        r.Error = {-1, e.Message()};
    } catch (const std::bad_alloc&) {
        r = {};
        r.What = DecodeResult::Kind::Failed;
        r.Error = {-1, QStringLiteral("Not enough memory to decode the picture")};
    }
    return r;
}

} // namespace imaging
