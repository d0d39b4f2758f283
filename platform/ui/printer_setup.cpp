// SPDX-License-Identifier: MIT
#include "platform/ui/printer_setup.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace platform {

namespace {

// The paper sizes offered: the common ones, the printer's own first where it names them.
QList<QPageSize> Papers(const QString& printerName) {
    QList<QPageSize> sizes = QPrinterInfo::printerInfo(printerName).supportedPageSizes();
    for (QPageSize::PageSizeId id :
         {QPageSize::A4, QPageSize::Letter, QPageSize::Legal, QPageSize::A3, QPageSize::A5,
          QPageSize::B5, QPageSize::Executive}) {
        const QPageSize size(id);
        const bool listed = std::any_of(sizes.begin(), sizes.end(),
                                        [&](const QPageSize& s) { return s.id() == id; });
        if (!listed)
            sizes << size;
    }
    return sizes;
}

} // namespace

PrinterSetup::PrinterSetup(const QPrinter& printer, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("PrinterSetup"));
    setWindowTitle(QStringLiteral("Print Setup"));
    printer_ = new QComboBox(this);
    printer_->setObjectName(QStringLiteral("cbPrinter"));
    const QStringList names = QPrinterInfo::availablePrinterNames();
    printer_->addItems(names);
    printer_->setCurrentIndex(std::max(0, int(names.indexOf(printer.printerName()))));
    printer_->setEnabled(!names.isEmpty());
    if (names.isEmpty())
        printer_->addItem(QStringLiteral("(no printer is installed)"));

    paper_ = new QComboBox(this);
    paper_->setObjectName(QStringLiteral("cbPaper"));
    const QPageSize current = printer.pageLayout().pageSize();
    auto fillPapers = [this, current] {
        // The paper chosen so far stays chosen when the new printer has it too.
        const QPageSize chosen =
            paper_->currentIndex() >= 0 ? papers_.value(paper_->currentIndex()) : current;
        papers_ = Papers(printer_->isEnabled() ? printer_->currentText() : QString());
        if (!std::any_of(papers_.begin(), papers_.end(),
                         [&](const QPageSize& s) { return s.isEquivalentTo(chosen); }))
            papers_.prepend(chosen); // the printer's own paper is always offered
        paper_->clear();
        int at = 0;
        for (int i = 0; i < papers_.size(); ++i) {
            paper_->addItem(papers_[i].name(), int(papers_[i].id()));
            if (papers_[i].isEquivalentTo(chosen))
                at = i;
        }
        paper_->setCurrentIndex(at);
    };
    fillPapers();
    connect(printer_, &QComboBox::currentIndexChanged, this, [this, fillPapers] {
        printerChosen_ = true;
        fillPapers();
    });

    portrait_ = new QRadioButton(QStringLiteral("&Portrait"), this);
    portrait_->setObjectName(QStringLiteral("rbPortrait"));
    landscape_ = new QRadioButton(QStringLiteral("&Landscape"), this);
    landscape_->setObjectName(QStringLiteral("rbLandscape"));
    auto* group = new QButtonGroup(this);
    group->addButton(portrait_);
    group->addButton(landscape_);
    (printer.pageLayout().orientation() == QPageLayout::Landscape ? landscape_ : portrait_)
        ->setChecked(true);
    auto* orientation = new QHBoxLayout;
    orientation->addWidget(portrait_);
    orientation->addWidget(landscape_);
    orientation->addStretch();

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("P&rinter:"), printer_);
    form->addRow(QStringLiteral("Pa&per:"), paper_);
    form->addRow(QStringLiteral("Orientation:"), orientation);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

void PrinterSetup::Apply(QPrinter& printer) const {
    if (printerChosen_ && printer_->isEnabled() && !printer_->currentText().isEmpty())
        printer.setPrinterName(printer_->currentText());
    if (paper_->currentIndex() >= 0 && paper_->currentIndex() < papers_.size())
        printer.setPageSize(papers_[paper_->currentIndex()]);
    printer.setPageOrientation(landscape_->isChecked() ? QPageLayout::Landscape
                                                       : QPageLayout::Portrait);
}

} // namespace platform
