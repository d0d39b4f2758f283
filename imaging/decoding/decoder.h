// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/bitmap.h"
#include "imaging/decoding/blob_detection.h"
#include "imaging/engine/engine_binding.h"
#include "imaging/metafile/metafile.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace imaging {

/// One blob to turn into a picture, read as the image view reads it.
struct DecodeRequest {
    QByteArray Blob;
    int Depth = 24; // the read depth; a monochrome picture is read at 1
    bool Dither = false;
    int TiffPage = 0; // from 0
    int PcdMode = 1;
    int PixelsPerInch = 96;
    /// Metafiles and drawings are also rendered into this size (in proportion, centred);
    /// empty: not rendered.
    QSize RenderSize;
    /// EPS and DXF are drawn this many times their natural size (1 to kMaxRenderScale), sharp
    /// for a zoomed view or a printer; other pictures ignore it.
    double Scale = 1;
    /// A picture of more pixels than this is not decoded (the result says Skipped); 0: any.
    std::int64_t MaxPixels = 0;

    /// Whether a decode of `other` gives the same picture as this one.
    bool SamePicture(const DecodeRequest& other) const;
};

/// What became of a request.
struct DecodeResult {
    enum class Kind {
        Picture,   // Bitmap holds it as the view would
        Drawing,   // a metafile: Drawing holds it
        Message,   // a credit message or rich text: nothing to draw
        Nothing,   // no picture in the blob
        Failed,    // Error says why
        Cancelled, // dropped or stopped before it was done
        Skipped,   // larger than the request allows
    };
    Kind What = Kind::Nothing;
    QString LoadName;
    BlobInfo Info;
    TBitmap Bitmap;
    Metafile Drawing;
    /// At the request's render size, transparent where nothing is drawn (pictures and
    /// drawings alike), when one was asked for.
    QImage Rendered;
    EngineError Error;
};

/// One decode: its request, progress, cancellation and result. Shared by the decoder and
/// whoever asked; every member may be used from any thread.
class DecodeJob {
public:
    /// A job not yet started is dropped; a running one stops at its next progress report.
    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }
    /// Whether a worker has taken it up (or it is done).
    bool Started() const;
    /// Whether it is done, dropped or stopped (Wait returns at once then).
    bool Done() const;
    /// Waits until the job is done, dropped or stopped.
    const DecodeResult& Wait() const;
    /// The engine's last progress report (0 to 100).
    int Progress() const { return progress_; }
    const DecodeRequest& Request() const { return request_; }

private:
    friend class Decoder;
    static std::int16_t OnProgress(std::int16_t progress, void* user);

    DecodeRequest request_;
    int priority_ = 0;
    std::uint64_t order_ = 0;
    std::function<void(const DecodeJob&)> onDone_;
    std::atomic<bool> cancelled_ = false;
    std::atomic<int> progress_ = 0;
    mutable std::mutex lock_;
    mutable std::condition_variable finished_;
    bool started_ = false, done_ = false;
    DecodeResult result_;
};

/// Decodes blobs on worker threads (at most one a core), higher priorities first and in the
/// order asked within one priority. Nothing is pushed into the undo ring; the engine's error
/// and progress text of each job are its own.
class Decoder {
public:
    /// `workers` 0: one a core.
    explicit Decoder(int workers = 0);
    /// Drops what has not started and waits for what runs.
    ~Decoder();
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    /// Queues a request. `done` is called on the worker once the job has its result (not for
    /// a job dropped before it started).
    std::shared_ptr<DecodeJob> Submit(DecodeRequest request, int priority = 0,
                                      std::function<void(const DecodeJob&)> done = {});
    /// Drops every job not yet started.
    void DropQueued();
    /// Waits until nothing is queued or running.
    void WaitIdle();
    int Workers() const { return int(threads_.size()); }

    /// The decode a worker does, here on the calling thread (inside its own engine scope).
    static DecodeResult DecodeNow(const DecodeRequest& request,
                                  const std::atomic<bool>* cancelled = nullptr,
                                  void* user = nullptr, ProgressCallback progress = nullptr);

private:
    void Work();
    static void Finish(DecodeJob& job, DecodeResult result);

    std::mutex lock_;
    std::condition_variable wake_, idle_;
    std::vector<std::shared_ptr<DecodeJob>> queue_;
    std::uint64_t submitted_ = 0;
    int running_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace imaging
