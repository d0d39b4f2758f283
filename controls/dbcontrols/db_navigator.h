// SPDX-License-Identifier: MIT
#pragma once

#include "data/data_link.h"

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QToolButton;

namespace data {
class TDataSource;
}

namespace controls {

enum class TNavigateBtn {
    nbFirst,
    nbPrior,
    nbNext,
    nbLast,
    nbInsert,
    nbDelete,
    nbEdit,
    nbPost,
    nbCancel,
    nbRefresh
};
constexpr int kNavigateButtonCount = 10;

/// Which buttons a navigator shows, one bit per TNavigateBtn.
class TNavButtonSet {
public:
    TNavButtonSet() = default;
    TNavButtonSet(std::initializer_list<TNavigateBtn> buttons) {
        for (TNavigateBtn b : buttons)
            bits_ |= Bit(b);
    }
    static TNavButtonSet All() { return TNavButtonSet(0x3ff); }
    bool Contains(TNavigateBtn b) const { return (bits_ & Bit(b)) != 0; }
    bool operator==(const TNavButtonSet&) const = default;

private:
    explicit TNavButtonSet(unsigned bits)
        : bits_(bits) {}
    static unsigned Bit(TNavigateBtn b) { return 1u << static_cast<unsigned>(b); }
    unsigned bits_ = 0;
};

/// A row of equal buttons that move the cursor of a data source's record source.
class TDBNavigator : public QWidget {
    Q_OBJECT
public:
    explicit TDBNavigator(QWidget* parent = nullptr);
    ~TDBNavigator() override;

    data::TDataSource* DataSource() const;
    void SetDataSource(data::TDataSource* source);

    TNavButtonSet VisibleButtons() const { return visible_; }
    void SetVisibleButtons(TNavButtonSet buttons);

    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);

    /// The button of that kind (hidden when not visible).
    QToolButton* Button(TNavigateBtn button) const;

    /// Runs a button's action as a click does; an error is shown in a message box.
    void BtnClick(TNavigateBtn button);

    /// Called after a button's action.
    std::function<void(TNavigateBtn)> OnClick;

    static QString Hint(TNavigateBtn button);

protected:
    void changeEvent(QEvent* event) override;

private:
    class Link;
    friend class Link;
    void ActiveChanged();
    void DataChanged();
    void EditingChanged();
    void LayoutButtons();
    void RunAction(TNavigateBtn button);

    std::unique_ptr<Link> link_;
    std::array<QToolButton*, kNavigateButtonCount> buttons_{};
    TNavButtonSet visible_ = TNavButtonSet::All();
    bool showHint_ = false;
};

} // namespace controls
