// SPDX-License-Identifier: MIT
#include "controls/dbcontrols/db_navigator.h"

#include "data/data_set.h"
#include "data/data_source.h"
#include "platform/core/error_reporter.h"
#include "platform/core/errors.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace controls {

namespace {

constexpr int kRepeatDelayMs = 400;
constexpr int kRepeatIntervalMs = 100;

// Glyphs drawn in the classic navigator style: dark arrows and bars on a 16 x 16 cell.
QIcon DrawGlyph(TNavigateBtn button) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0));
    auto triangle = [&p](bool right, qreal x) {
        QPainterPath path;
        if (right) {
            path.moveTo(x, 3);
            path.lineTo(x + 6, 8);
            path.lineTo(x, 13);
        } else {
            path.moveTo(x + 6, 3);
            path.lineTo(x, 8);
            path.lineTo(x + 6, 13);
        }
        path.closeSubpath();
        p.drawPath(path);
    };
    switch (button) {
    case TNavigateBtn::nbFirst:
        p.drawRect(QRectF(3, 3, 2, 10));
        triangle(false, 6);
        break;
    case TNavigateBtn::nbPrior:
        triangle(false, 5);
        break;
    case TNavigateBtn::nbNext:
        triangle(true, 5);
        break;
    case TNavigateBtn::nbLast:
        triangle(true, 4);
        p.drawRect(QRectF(11, 3, 2, 10));
        break;
    case TNavigateBtn::nbInsert:
        p.drawRect(QRectF(7, 3, 2, 10));
        p.drawRect(QRectF(3, 7, 10, 2));
        break;
    case TNavigateBtn::nbDelete:
        p.drawRect(QRectF(3, 7, 10, 2));
        break;
    case TNavigateBtn::nbEdit: {
        QPainterPath path;
        path.moveTo(3, 12);
        path.lineTo(8, 4);
        path.lineTo(13, 12);
        path.closeSubpath();
        p.drawPath(path);
        break;
    }
    case TNavigateBtn::nbPost:
        p.setPen(QPen(QColor(0, 0, 0), 2));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(3, 8), QPointF(7, 12), QPointF(13, 4)}));
        break;
    case TNavigateBtn::nbCancel:
        p.setPen(QPen(QColor(0, 0, 0), 2));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    case TNavigateBtn::nbRefresh:
        p.setPen(QPen(QColor(0, 0, 0), 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 3, 10, 10), 60 * 16, 280 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0));
        p.drawPolygon(QPolygonF({QPointF(9, 1), QPointF(13, 4), QPointF(9, 6)}));
        break;
    }
    return QIcon(pixmap);
}

} // namespace

// Tells the navigator of every change of its record source.
class TDBNavigator::Link : public data::TDataLink {
public:
    explicit Link(TDBNavigator* navigator)
        : navigator_(navigator) {}
    void NotifyActiveChange() override { navigator_->ActiveChanged(); }
    void NotifyDataSetChange() override { navigator_->DataChanged(); }
    void NotifyScroll(int) override { navigator_->DataChanged(); }
    void NotifyEditingChange() override { navigator_->EditingChanged(); }

private:
    TDBNavigator* navigator_;
};

TDBNavigator::TDBNavigator(QWidget* parent)
    : QWidget(parent)
    , link_(std::make_unique<Link>(this)) {
    // Visible buttons share the width equally.
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (int i = 0; i < kNavigateButtonCount; ++i) {
        const auto kind = static_cast<TNavigateBtn>(i);
        auto* button = new QToolButton(this);
        button->setIcon(DrawGlyph(kind));
        button->setFocusPolicy(Qt::NoFocus);
        button->setAccessibleName(Hint(kind));
        if (kind == TNavigateBtn::nbPrior || kind == TNavigateBtn::nbNext) {
            button->setAutoRepeat(true);
            button->setAutoRepeatDelay(kRepeatDelayMs);
            button->setAutoRepeatInterval(kRepeatIntervalMs);
        }
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        row->addWidget(button, 1);
        connect(button, &QToolButton::clicked, this, [this, kind] { BtnClick(kind); });
        buttons_[static_cast<size_t>(i)] = button;
    }
    resize(240, 25);
    ActiveChanged();
    LayoutButtons();
}

TDBNavigator::~TDBNavigator() {
    link_->SetDataSource(nullptr);
}

data::TDataSource* TDBNavigator::DataSource() const {
    return link_->DataSource();
}

void TDBNavigator::SetDataSource(data::TDataSource* source) {
    link_->SetDataSource(source);
    ActiveChanged();
}

QToolButton* TDBNavigator::Button(TNavigateBtn button) const {
    return buttons_[static_cast<size_t>(button)];
}

QString TDBNavigator::Hint(TNavigateBtn button) {
    static const char* const hints[kNavigateButtonCount] = {
        "First record",  "Prior record", "Next record", "Last record", "Insert record",
        "Delete record", "Edit record",  "Post edit",   "Cancel edit", "Refresh data"};
    return QString::fromLatin1(hints[static_cast<int>(button)]);
}

void TDBNavigator::SetVisibleButtons(TNavButtonSet buttons) {
    visible_ = buttons;
    LayoutButtons();
}

void TDBNavigator::SetShowHint(bool value) {
    showHint_ = value;
    for (int i = 0; i < kNavigateButtonCount; ++i)
        buttons_[static_cast<size_t>(i)]->setToolTip(value ? Hint(static_cast<TNavigateBtn>(i))
                                                           : QString());
}

void TDBNavigator::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        ActiveChanged();
}

void TDBNavigator::LayoutButtons() {
    for (int i = 0; i < kNavigateButtonCount; ++i)
        buttons_[static_cast<size_t>(i)]->setVisible(
            visible_.Contains(static_cast<TNavigateBtn>(i)));
}

void TDBNavigator::ActiveChanged() {
    if (!isEnabled() || !link_->Active()) {
        for (QToolButton* button : buttons_)
            button->setEnabled(false);
        return;
    }
    DataChanged();
    EditingChanged();
}

void TDBNavigator::DataChanged() {
    const bool on = isEnabled() && link_->Active();
    const bool up = on && !link_->AtStart();
    const bool down = on && !link_->AtEnd();
    Button(TNavigateBtn::nbFirst)->setEnabled(up);
    Button(TNavigateBtn::nbPrior)->setEnabled(up);
    Button(TNavigateBtn::nbNext)->setEnabled(down);
    Button(TNavigateBtn::nbLast)->setEnabled(down);
    const data::TDataSet* set = link_->DataSet();
    Button(TNavigateBtn::nbDelete)
        ->setEnabled(on && set && set->CanModify() && !(set->AtStart() && set->AtEnd()));
}

void TDBNavigator::EditingChanged() {
    const data::TDataSet* set = link_->DataSet();
    const bool canModify = isEnabled() && link_->Active() && set && set->CanModify();
    Button(TNavigateBtn::nbInsert)->setEnabled(canModify);
    Button(TNavigateBtn::nbEdit)->setEnabled(canModify && !link_->Editing());
    Button(TNavigateBtn::nbPost)->setEnabled(canModify && link_->Editing());
    Button(TNavigateBtn::nbCancel)->setEnabled(canModify && link_->Editing());
    Button(TNavigateBtn::nbRefresh)->setEnabled(canModify);
}

void TDBNavigator::RunAction(TNavigateBtn button) {
    data::TDataSet* set = link_->DataSet();
    if (!set || !link_->Active())
        return;
    switch (button) {
    case TNavigateBtn::nbFirst:
        set->GoFirst();
        break;
    case TNavigateBtn::nbPrior:
        set->GoPrior();
        break;
    case TNavigateBtn::nbNext:
        set->GoNext();
        break;
    case TNavigateBtn::nbLast:
        set->GoLast();
        break;
    case TNavigateBtn::nbInsert:
        set->Insert();
        break;
    case TNavigateBtn::nbDelete:
        set->Delete();
        break;
    case TNavigateBtn::nbEdit:
        set->Edit();
        break;
    case TNavigateBtn::nbPost:
        set->Post();
        break;
    case TNavigateBtn::nbCancel:
        set->Cancel();
        break;
    case TNavigateBtn::nbRefresh:
        set->Refresh();
        break;
    }
}

void TDBNavigator::BtnClick(TNavigateBtn button) {
    // Errors stop here: a signal must not carry an exception through the toolkit.
    try {
        RunAction(button);
        if (OnClick)
            OnClick(button);
    } catch (const platform::Exception& e) {
        platform::ReportError(e.Message());
    }
}

} // namespace controls
