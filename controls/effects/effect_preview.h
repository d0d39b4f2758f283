// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QWidget>

namespace controls {

/// The effects window's preview: an image drawn centred on a dark ground. During a transition
/// preview it shows the frame being painted instead.
class EffectPreview : public QWidget {
    Q_OBJECT
public:
    explicit EffectPreview(QWidget* parent);
    void SetImage(const QImage& image);
    /// The area images are fitted into.
    QSize Room() const { return contentsRect().size(); }
    /// Where an image of this size lies, centred.
    QPoint Origin(QSize image) const;
    QSize sizeHint() const override { return {362, 272}; }
    QSize minimumSizeHint() const override { return {242, 182}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
};

} // namespace controls
