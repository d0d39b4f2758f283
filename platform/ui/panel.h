// SPDX-License-Identifier: MIT
#pragma once

#include <QFrame>

namespace platform {

enum class TBevel { bvNone, bvLowered, bvRaised };

/// A panel: a plain container with an outer and an inner bevel.
class TPanel : public QFrame {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr, TBevel outer = TBevel::bvRaised,
                    TBevel inner = TBevel::bvNone, int bevelWidth = 1);

    TBevel BevelOuter() const { return outer_; }
    TBevel BevelInner() const { return inner_; }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevels(TBevel outer, TBevel inner, int bevelWidth = 1);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TBevel outer_;
    TBevel inner_;
    int bevelWidth_;
};

} // namespace platform
