// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/decoding/decoder.h"

#include <QImage>
#include <QObject>
#include <QTimer>

#include <memory>
#include <mutex>

namespace controls {

/// An EPS or DXF picture drawn again at the scale it is shown (or printed) at, so its lines
/// keep their width when zoomed in. Asked for on the decoder's workers once the zoom settles;
/// the scaled picture is shown meanwhile. Only the picture as it was read qualifies: an edit
/// of it makes a rendering stale.
class SharpRendering : public QObject {
    Q_OBJECT
public:
    explicit SharpRendering(QObject* parent = nullptr);
    ~SharpRendering() override;

    /// No decoder: nothing is drawn again.
    void SetDecoder(imaging::Decoder* decoder) { decoder_ = decoder; }
    /// The picture just read from `request`'s blob into `shown`; a load name that does not
    /// render at scale (or any other picture) forgets what was held.
    void Shown(const QString& loadName, imaging::DecodeRequest request, const QImage& shown);
    void Clear();

    /// The scale a picture shown `times` its size (device pixels a picture pixel) is drawn
    /// again at: 0 when it is not (not such a picture, edited since, or not enlarged).
    double Wanted(double times, const QImage& shown) const;
    /// The rendering at that scale when it is here (else null, and it is asked for once the
    /// zoom has settled).
    const QImage* At(double scale, const QImage& shown);
    /// The rendering at that scale, drawn now on the workers and waited for (for a printer);
    /// null when it cannot be made.
    QImage Now(double scale, const QImage& shown);

    /// How long a zoom must rest before a rendering is asked for.
    static constexpr int kSettleMs = 150;
    /// A rendering holds at most this many pixels; a larger zoom scales it up the rest.
    static constexpr double kMaxPixels = 32.0 * 1024 * 1024;

signals:
    /// A rendering asked for has come: the view paints again.
    void Arrived();

private:
    // The workers' callback reaches the object only while it lives.
    struct Mailbox {
        std::mutex Lock;
        SharpRendering* Owner = nullptr;
    };
    bool Matches(const QImage& shown) const;
    imaging::DecodeRequest At(double scale) const;
    void Ask();
    void Collect();

    imaging::Decoder* decoder_ = nullptr;
    std::shared_ptr<Mailbox> mailbox_ = std::make_shared<Mailbox>();
    imaging::DecodeRequest source_;
    bool held_ = false;
    qint64 shownKey_ = 0;
    QSize shownSize_;
    double scale_ = 0; // of image_
    QImage image_;
    double asking_ = 0; // the scale waited for by the timer or a job
    std::shared_ptr<imaging::DecodeJob> job_;
    QTimer settle_;
};

} // namespace controls
