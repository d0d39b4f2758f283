// SPDX-License-Identifier: MIT
#include "app/export_options.h"

#include "platform/core/dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>

#include <algorithm>

namespace {

// The formats the engine writes, the main Save list's first, each as "Label (EXT)".
std::vector<const imaging::PictureFormat*> Writers() {
    std::vector<const imaging::PictureFormat*> out;
    for (const imaging::PictureFormat& f : imaging::PictureFormats())
        if (f.EngineWrites && f.Engine)
            out.push_back(&f);
    const auto place = [](const imaging::PictureFormat* f) {
        const int p = f->Place[int(imaging::FormatList::MainSave)];
        return p > 0 ? p : 1000;
    };
    std::stable_sort(out.begin(), out.end(), [&](auto* a, auto* b) { return place(a) < place(b); });
    return out;
}

QSpinBox* Size(QWidget* parent, const char* name, int value) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(1, 30000);
    box->setSuffix(QStringLiteral(" px"));
    box->setValue(value);
    return box;
}

} // namespace

ExportOptionsPage::ExportOptionsPage() {
    setObjectName(QStringLiteral("ExportOptions"));
    setWindowTitle(QStringLiteral("Export Pictures"));
    const QSettings settings(QStringLiteral("Vellamore"), QStringLiteral("vlmor"));

    folder_ = new QLineEdit(this);
    folder_->setObjectName(QStringLiteral("edFolder"));
    folder_->setMinimumWidth(320);
    folder_->setText(settings
                         .value(QStringLiteral("Export/Folder"),
                                QStandardPaths::writableLocation(QStandardPaths::PicturesLocation))
                         .toString());
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
    browse->setObjectName(QStringLiteral("btnBrowse"));
    connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(browse);

    format_ = new QComboBox(this);
    format_->setObjectName(QStringLiteral("cbFormat"));
    format_->addItem(QStringLiteral("As stored (each picture's own file)"), QString());
    for (const imaging::PictureFormat* f : Writers())
        format_->addItem(QString::fromLatin1(f->Label) + QStringLiteral(" (") +
                             imaging::MainExtension(*f).toUpper() + u')',
                         QString::fromLatin1(f->LoadName));
    const int chosen = format_->findData(
        settings.value(QStringLiteral("Export/Format"), QStringLiteral("PNG")).toString());
    format_->setCurrentIndex(std::max(0, chosen));

    vectors_ = new QComboBox(this);
    vectors_->setObjectName(QStringLiteral("cbVectors"));
    vectors_->addItem(QStringLiteral("SVG drawings"), int(imaging::VectorExport::Svg));
    vectors_->addItem(QStringLiteral("PNG pictures"), int(imaging::VectorExport::Png));
    vectors_->addItem(QStringLiteral("Their own files (WMF, EMF)"),
                      int(imaging::VectorExport::Own));
    vectors_->setCurrentIndex(
        std::clamp(settings.value(QStringLiteral("Export/Vectors"), 0).toInt(), 0, 2));

    fit_ = new QCheckBox(QStringLiteral("F&it into"), this);
    fit_->setObjectName(QStringLiteral("chkFit"));
    fit_->setChecked(settings.value(QStringLiteral("Export/Fit"), false).toBool());
    fitWidth_ =
        Size(this, "spnFitWidth", settings.value(QStringLiteral("Export/FitWidth"), 640).toInt());
    fitHeight_ =
        Size(this, "spnFitHeight", settings.value(QStringLiteral("Export/FitHeight"), 480).toInt());
    auto* fitRow = new QHBoxLayout;
    fitRow->addWidget(fit_);
    fitRow->addWidget(fitWidth_);
    fitRow->addWidget(new QLabel(QStringLiteral("by"), this));
    fitRow->addWidget(fitHeight_);
    fitRow->addStretch();

    auto* form = new QFormLayout(this);
    auto* folderLabel = new QLabel(QStringLiteral("&Folder:"), this);
    folderLabel->setBuddy(folder_); // a row of a layout has no buddy of its own
    form->addRow(folderLabel, folderRow);
    form->addRow(QStringLiteral("F&ormat:"), format_);
    form->addRow(QStringLiteral("&Vector pictures as:"), vectors_);
    form->addRow(QString(), fitRow);
    connect(format_, &QComboBox::currentIndexChanged, this, [this] { FormatChanged(); });
    connect(fit_, &QCheckBox::toggled, this, [this] { FormatChanged(); });
    FormatChanged();
}

void ExportOptionsPage::FormatChanged() {
    // Stored pictures go as they are: neither converted nor resized.
    const bool converting = !format_->currentData().toString().isEmpty();
    vectors_->setEnabled(converting);
    fit_->setEnabled(converting);
    fitWidth_->setEnabled(converting && fit_->isChecked());
    fitHeight_->setEnabled(converting && fit_->isChecked());
}

void ExportOptionsPage::Browse() {
    if (const std::optional<QString> dir =
            platform::Dialogs().ChooseFolder(this, QStringLiteral("Export Into"), folder_->text()))
        folder_->setText(*dir);
}

QString ExportOptionsPage::Folder() const {
    return folder_->text().trimmed();
}

imaging::ExportOptions ExportOptionsPage::Options() const {
    imaging::ExportOptions options;
    options.Format = imaging::FormatOfLoadName(format_->currentData().toString());
    if (!options.Format)
        return options;
    options.Vectors = imaging::VectorExport(vectors_->currentData().toInt());
    if (fit_->isChecked())
        options.Fit = QSize(fitWidth_->value(), fitHeight_->value());
    return options;
}

void ExportOptionsPage::Remember() const {
    QSettings settings(QStringLiteral("Vellamore"), QStringLiteral("vlmor"));
    settings.setValue(QStringLiteral("Export/Folder"), Folder());
    settings.setValue(QStringLiteral("Export/Format"), format_->currentData().toString());
    settings.setValue(QStringLiteral("Export/Vectors"), vectors_->currentIndex());
    settings.setValue(QStringLiteral("Export/Fit"), fit_->isChecked());
    settings.setValue(QStringLiteral("Export/FitWidth"), fitWidth_->value());
    settings.setValue(QStringLiteral("Export/FitHeight"), fitHeight_->value());
}
