// SPDX-License-Identifier: MIT
#pragma once

#include <QPainter>
#include <QPrinter>

#include <memory>

namespace platform {

/// The program's current printer (what Print Setup chooses) with the document it prints:
/// BeginDoc opens a document and its canvas, EndDoc sends the page. The canvas has the
/// screen's resolution, so a picture printed at its own pixel size has its size on screen,
/// while every pixel of it still goes into the document.
class TPrinter {
public:
    TPrinter();
    ~TPrinter();

    QPrinter& Device() { return *printer_; }
    bool Printing() const { return painter_ != nullptr; }
    /// False when the printer cannot be opened (the document is then not begun).
    bool BeginDoc();
    void EndDoc();
    /// The canvas of the document being printed, or null.
    QPainter* Canvas() { return painter_.get(); }
    /// The printable page in canvas pixels.
    int PageWidth() const;
    int PageHeight() const;
    /// The dots per inch of the paper: the printer's finest resolution (300 to 1200), 300 for
    /// a PDF document. A picture drawn again for the paper is drawn at this.
    int PaperResolution() const;

private:
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
};

/// The program's printer.
TPrinter& Printer();

} // namespace platform
