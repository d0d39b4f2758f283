// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QPushButton;
class QRadioButton;

namespace controls {

/// "Print Options": the picture at its own size or over the whole page.
class TPrintOptions : public QDialog {
    Q_OBJECT
public:
    explicit TPrintOptions(QWidget* owner);
    QRadioButton* ImageSize() const { return imageSize_; }
    QRadioButton* PaperSize() const { return paperSize_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    QRadioButton* imageSize_;
    QRadioButton* paperSize_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

} // namespace controls
