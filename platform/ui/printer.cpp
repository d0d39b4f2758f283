// SPDX-License-Identifier: MIT
#include "platform/ui/printer.h"

#include <algorithm>

namespace platform {

TPrinter::TPrinter()
    : printer_(std::make_unique<QPrinter>(QPrinter::ScreenResolution)) {}

TPrinter::~TPrinter() {
    EndDoc();
}

bool TPrinter::BeginDoc() {
    if (painter_)
        return true;
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(printer_.get()))
        return false;
    painter_ = std::move(painter);
    return true;
}

void TPrinter::EndDoc() {
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
}

int TPrinter::PageWidth() const {
    return printer_->pageLayout().paintRectPixels(printer_->resolution()).width();
}

int TPrinter::PageHeight() const {
    return printer_->pageLayout().paintRectPixels(printer_->resolution()).height();
}

int TPrinter::PaperResolution() const {
    constexpr int kLeast = 300, kMost = 1200;
    if (printer_->outputFormat() == QPrinter::PdfFormat)
        return kLeast;
    int finest = kLeast;
    for (int dpi : printer_->supportedResolutions())
        finest = std::max(finest, dpi);
    return std::min(finest, kMost);
}

TPrinter& Printer() {
    static TPrinter printer;
    return printer;
}

} // namespace platform
