// SPDX-License-Identifier: MIT
// The control tree and the menu of the main window, with their sizes, fonts and numbers.
#include "app/help_context.h"
#include "app/main_window.h"
#include "app/overview_panel.h"
#include "app/toolbar_images.h"
#include "controls/datalist/data_list.h"
#include "controls/dbcontrols/db_navigator.h"
#include "controls/dbcontrols/db_text.h"
#include "controls/imagetoolbar/image_toolbar.h"
#include "controls/imageview/db_multi_image.h"
#include "data/data_set.h"
#include "data/data_source.h"
#include "data/field.h"
#include "platform/ui/panel.h"
#include "platform/ui/readable_colours.h"
#include "platform/ui/tab_control.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using platform::TBevel;
using platform::TPanel;

namespace {

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QFont ArialBold13() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}

QToolButton* ToolButton(QWidget* parent, const char* name, int image, const QString& hint,
                        QSize size) {
    auto* button = Named(new QToolButton(parent), name);
    button->setIcon(QIcon(ToolbarImage(image)));
    button->setIconSize(QSize(32, 32));
    button->setFixedSize(size);
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    return button;
}

} // namespace

void TfMain::BuildControls() {
    ToolBar1 = Named(new QToolBar(this), "ToolBar1");
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setFixedHeight(48);
    ToolBar1->setContentsMargins(8, 0, 0, 0); // indent 8
    ToolBar1->setIconSize(QSize(32, 32));
    ToolBar1->toggleViewAction()->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, ToolBar1);
    const QSize big(40, 40);
    ToolSave = ToolButton(ToolBar1, "ToolSave", 0, QStringLiteral("Save Image"), big);
    ToolClip = ToolButton(ToolBar1, "ToolClip", 1, QStringLiteral("Copy To clipboard"), big);
    ToolPrint = ToolButton(ToolBar1, "ToolPrint", 2, QStringLiteral("Print Image"), big);
    ToolHelp = ToolButton(ToolBar1, "ToolHelp", 4, QStringLiteral("Help"), big);
    ToolBar1->addWidget(ToolSave);
    ToolBar1->addWidget(ToolClip);
    ToolBar1->addWidget(ToolPrint);
    auto* gap = Named(new QWidget(ToolBar1), "ToolButton4");
    gap->setFixedWidth(40);
    ToolBar1->addWidget(gap);
    ToolBar1->addWidget(ToolHelp);

    TabControl1 = Named(new platform::TTabControl(this), "TabControl1");
    TabControl1->setFont(ArialBold13());
    QPalette black = TabControl1->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    platform::KeepFixedTextReadable(black, QPalette::WindowText,
                                    {QPalette::Window, QPalette::Button});
    TabControl1->setPalette(black);
    SetHelpContext(TabControl1, 6);
    TabControl1->AddTab(QStringLiteral("All"));
    setCentralWidget(TabControl1);
    auto* body = new QHBoxLayout(TabControl1->Body());
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);

    pnlLeft = Named(new TPanel(TabControl1->Body()), "pnlLeft");
    pnlLeft->setFixedWidth(217);
    body->addWidget(pnlLeft);
    auto* left = new QVBoxLayout(pnlLeft);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(0);

    Panel2 = Named(new TPanel(pnlLeft, TBevel::bvNone), "Panel2");
    Panel2->setFixedHeight(192);
    left->addWidget(Panel2);
    DBTextFile = Named(new controls::TDBText(Panel2), "DBTextFile");
    DBTextFile->setGeometry(8, 8, 105, 17);
    DBTextFile->SetDataField(QStringLiteral("FileName"));
    Panel1 = Named(new TPanel(Panel2, TBevel::bvLowered, TBevel::bvNone, 2), "Panel1");
    Panel1->setGeometry(8, 32, 201, 105);
    DBTextDescrip = Named(new controls::TDBText(Panel1), "DBTextDescrip");
    DBTextDescrip->SetDataField(QStringLiteral("Description"));
    DBTextDescrip->SetWordWrap(true);
    DBTextDescrip->setFont(ArialBold13());
    QPalette navy = DBTextDescrip->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    platform::KeepFixedTextReadable(navy, QPalette::WindowText, {QPalette::Window});
    DBTextDescrip->setPalette(navy);
    Panel1->setPalette(navy); // the frame around the text shares its background
    DBTextDescrip->setForegroundRole(QPalette::WindowText); // not the button face's text role
    auto* descripFill = new QVBoxLayout(Panel1);
    descripFill->setContentsMargins(2, 2, 2, 2);
    descripFill->addWidget(DBTextDescrip);

    pnlFind = Named(new TPanel(Panel2, TBevel::bvNone), "pnlFind");
    pnlFind->setGeometry(8, 144, 201, 49);
    ToolBar2 = Named(new QWidget(pnlFind), "ToolBar2");
    ToolBar2->setGeometry(0, 0, 201, 49);
    ToolFind = ToolButton(ToolBar2, "ToolFind", 3, QString(), QSize(39, 38));
    ToolFind->setCheckable(true);
    ToolFind->setToolTip(QString()); // hints are off for this branch
    ToolFind->setAccessibleName(QStringLiteral("Toggle Search"));
    ToolFind->move(2, 0);
    edFilter = Named(new QLineEdit(ToolBar2), "edFilter");
    edFilter->setAccessibleName(QStringLiteral("Search"));
    edFilter->setAccessibleDescription(
        QStringLiteral("Words of the file name or description; Enter or Toggle Search filters"));
    edFilter->setGeometry(49, 2, 152, edFilter->sizeHint().height());
    SetHelpContext(edFilter, 4);

    pnlList = Named(new TPanel(pnlLeft, TBevel::bvLowered, TBevel::bvRaised), "pnlList");
    left->addWidget(pnlList, 1);
    DBDataList1 = Named(new controls::TDBDataList(pnlList), "DBDataList1");
    DBDataList1->setAccessibleName(QStringLiteral("Pictures"));
    DBDataList1->setAccessibleDescription(
        QStringLiteral("The file names of the tab's records; the selected one is shown"));
    DBDataList1->SetTabStop(true);
    DBDataList1->SetExtendedSelect(true);
    DBDataList1->SetMultiSelect(false);
    auto* listFill = new QVBoxLayout(pnlList);
    listFill->setContentsMargins(0, 0, 0, 0);
    listFill->addWidget(DBDataList1);

    pnlBottom = Named(new TPanel(pnlLeft, TBevel::bvNone), "pnlBottom");
    pnlBottom->setFixedHeight(41);
    left->addWidget(pnlBottom);
    DBNavigator1 = Named(new controls::TDBNavigator(pnlBottom), "DBNavigator1");
    DBNavigator1->setGeometry(8, 8, 200, 25);
    DBNavigator1->SetVisibleButtons(
        {controls::TNavigateBtn::nbFirst, controls::TNavigateBtn::nbPrior,
         controls::TNavigateBtn::nbNext, controls::TNavigateBtn::nbLast});
    DBNavigator1->SetShowHint(true);
    SetHelpContext(DBNavigator1, 5);

    pnlRight = Named(new TPanel(TabControl1->Body()), "pnlRight");
    body->addWidget(pnlRight, 1);
    auto* right = new QVBoxLayout(pnlRight);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    pnlTool = Named(new TPanel(pnlRight, TBevel::bvNone), "pnlTool");
    pnlTool->setFixedHeight(41);
    right->addWidget(pnlTool);
    pnlImage = Named(new TPanel(pnlRight), "pnlImage");
    right->addWidget(pnlImage, 1);
    BuildImageView();
    BuildImageToolbar();
    BuildOverview();
    body->addWidget(pnlOverview, 1);

    moCategories = Named(new QPlainTextEdit(TabControl1->Body()), "moCategories");
    moCategories->setGeometry(512, 88, 105, 169);
    moCategories->setPlainText(
        QStringLiteral("all\nbackground\nborder\nheader\nletter\nmisc\nornament"));
    moCategories->hide();

    setTabOrder(edFilter, DBDataList1);
}

void TfMain::BuildImageToolbar() {
    auto* fill = new QVBoxLayout(pnlTool);
    fill->setContentsMargins(0, 0, 0, 0);
    ILDBMultiImageToolBar1 =
        Named(new controls::TILDBMultiImageToolBar(pnlTool), "ILDBMultiImageToolBar1");
    ILDBMultiImageToolBar1->Align = controls::TToolbarAlign::alTop;
    fill->addWidget(ILDBMultiImageToolBar1);
    ILDBMultiImageToolBar1->SetVisibleButtons({controls::ibdbiPanZoom, controls::ibdbiZoomIn,
                                               controls::ibdbiZoomOut, controls::ibdbiBestFit,
                                               controls::ibdbiCenter});
    ILDBMultiImageToolBar1->SetDBMultiImage(PDBMultiImage1);
    SetHelpContext(ILDBMultiImageToolBar1, 5);
}

void TfMain::BuildImageView() {
    auto* fill = new QVBoxLayout(pnlImage);
    fill->setContentsMargins(1, 1, 1, 1);
    PDBMultiImage1 = Named(new controls::TPDBMultiImage(pnlImage), "PDBMultiImage1");
    fill->addWidget(PDBMultiImage1);
    // The settings of the window's picture; the data source is bound with the data module.
    PDBMultiImage1->SetDataField(QStringLiteral("GraphicFile"));
    // Assistive tools name the picture by the current record's description.
    PDBMultiImage1->setAccessibleName(QStringLiteral("Picture"));
    connect(PDBMultiImage1, &controls::TPDBMultiImage::PictureShown, this, [this] {
        auto text = [this](const char* name) {
            const data::TDataSource* source = PDBMultiImage1->DataSource();
            const data::TDataSet* set = source ? source->DataSet() : nullptr;
            const data::TField* field =
                set && set->Active() ? set->FindField(QLatin1String(name)) : nullptr;
            return field ? field->AsString().simplified() : QString();
        };
        const QString description = text("Description");
        PDBMultiImage1->setAccessibleName(description.isEmpty() ? QStringLiteral("Picture")
                                                                : description);
        PDBMultiImage1->setAccessibleDescription(text("FileName"));
    });
    // The neighbours are read ahead once the picture is shown (after its paint), unless the
    // environment says VLMOR_READ_AHEAD=0.
    decoder_ = std::make_unique<imaging::Decoder>();
    PDBMultiImage1->SetDecoder(decoder_.get());
    if (qEnvironmentVariable("VLMOR_READ_AHEAD") != QLatin1String("0")) {
        readAhead_ = std::make_unique<imaging::ReadAhead>(*decoder_);
        PDBMultiImage1->SetReadAhead(readAhead_.get());
        connect(PDBMultiImage1, &controls::TPDBMultiImage::PictureShown, this,
                &TfMain::ReadNeighbours, Qt::QueuedConnection);
    }
    PDBMultiImage1->SetReadOnly(true);
    PDBMultiImage1->SetStretchRatio(true);
    PDBMultiImage1->SetScrolling(true);
    PDBMultiImage1->SetShowScrollbars(false);
    PDBMultiImage1->SetScrollbarWidth(12);
    PDBMultiImage1->SetGrabHandCursor(5);
    PDBMultiImage1->ZoomBy = 10;
    PDBMultiImage1->RubberBandBtn = controls::mbLeft;
    PDBMultiImage1->ImageReadRes = imaging::lAutoMatic;
    PDBMultiImage1->ImageWriteRes = imaging::sAutoMatic;
    PDBMultiImage1->SetJPegSaveQuality(25);
    PDBMultiImage1->SetJPegSaveSmooth(5);
    PDBMultiImage1->ImageDither = false;
    PDBMultiImage1->B_W_CopyFlags = controls::BWFlag(controls::C_DEL);
    PDBMultiImage1->TifSaveCompress = imaging::sPACKBITS;
    PDBMultiImage1->TiffPage = 0;
    PDBMultiImage1->SetBlitMode(imaging::sLight);
    PDBMultiImage1->BlobUpDate = controls::bUpdateAsJPG;
    PDBMultiImage1->TextLeft = PDBMultiImage1->TextTop = PDBMultiImage1->TextRotate = 0;
    SetHelpContext(PDBMultiImage1, 5);
    PDBMultiImage1->Loaded();
}

void TfMain::BuildOverview() {
    // Hidden until View > Overview; it shares the image view's decoder.
    pnlOverview = new TOverviewPanel(*decoder_, TabControl1->Body());
    pnlOverview->hide();
}

void TfMain::BuildMenu() {
    mnuFile = Named(menuBar()->addMenu(QStringLiteral("&File")), "File1");
    SaveAs1 = Named(mnuFile->addAction(QStringLiteral("Save &As...")), "SaveAs1");
    SetHelpContext(SaveAs1, 8);
    mnuCopy = Named(mnuFile->addAction(QStringLiteral("&Copy to Clipboard")), "mnuCopy");
    ExportPictures1 =
        Named(mnuFile->addAction(QStringLiteral("&Export Pictures...")), "ExportPictures1");
    SetHelpContext(ExportPictures1, 17);
    Named(mnuFile->addSeparator(), "N2");
    Print1 = Named(mnuFile->addAction(QStringLiteral("&Print...")), "Print1");
    SetHelpContext(Print1, 9);
    PrintPreview1 = Named(mnuFile->addAction(QStringLiteral("Print Pre&view...")), "PrintPreview1");
    SetHelpContext(PrintPreview1, 18);
    PrintContactSheet1 =
        Named(mnuFile->addAction(QStringLiteral("Print Co&ntact Sheet...")), "PrintContactSheet1");
    PrintContactSheet1->setEnabled(false); // in the overview only
    SetHelpContext(PrintContactSheet1, 16);
    PrintSetup1 = Named(mnuFile->addAction(QStringLiteral("P&rint Setup...")), "PrintSetup1");
    SetHelpContext(PrintSetup1, 9);
    Named(mnuFile->addSeparator(), "N1");
    Exit1 = Named(mnuFile->addAction(QStringLiteral("E&xit")), "Exit1");
    SetHelpContext(Exit1, 2);

    mnuSearch = Named(menuBar()->addMenu(QStringLiteral("&Search")), "mnuSearch");
    mnuEnableFilter =
        Named(mnuSearch->addAction(QStringLiteral("&Use Search Filter")), "mnuEnableFilter");
    mnuEnableFilter->setCheckable(true);
    SetHelpContext(mnuEnableFilter, 4);

    mnuView = Named(menuBar()->addMenu(QStringLiteral("&View")), "mnuView");
    mnuOverview = Named(mnuView->addAction(QStringLiteral("&Overview")), "mnuOverview");
    mnuOverview->setCheckable(true);
    mnuOverview->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    SetHelpContext(mnuOverview, 14);
    Named(mnuView->addSeparator(), "N3");
    mnuClearCache =
        Named(mnuView->addAction(QStringLiteral("&Clear Thumbnail Cache")), "mnuClearCache");
    SetHelpContext(mnuClearCache, 14);

    Help1 = Named(menuBar()->addMenu(QStringLiteral("&Help")), "Help1");
    Contents1 = Named(Help1->addAction(QStringLiteral("&Contents")), "Contents1");
    SearchforHelpOn1 =
        Named(Help1->addAction(QStringLiteral("&Search for Help On...")), "SearchforHelpOn1");
    HowtoUseHelp1 = Named(Help1->addAction(QStringLiteral("&How to Use Help")), "HowtoUseHelp1");
    About1 = Named(Help1->addAction(QStringLiteral("&About...")), "About1");
}
