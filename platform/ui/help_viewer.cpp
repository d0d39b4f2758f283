// SPDX-License-Identifier: MIT
#include "platform/ui/help_viewer.h"

#include "platform/core/dialogs.h"
#include "platform/ui/application.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <map>

namespace platform {

namespace {

constexpr int kHelpOnHelp = -1;

const char* const kHelpOnHelpText =
    "<h2>How to use help</h2>"
    "<p>The help window has two tabs beside the page you read.</p>"
    "<ul><li><b>Contents</b> lists every topic of the help file. Click one to read it.</li>"
    "<li><b>Index</b> lists the keywords of the topics in alphabetical order. Type the first "
    "letters of a word: the list jumps to the first keyword that starts with them. Press "
    "Enter or double-click a keyword to read its topic.</li></ul>"
    "<p>Underlined words in a page lead to other topics. Press F1 in the program to read the "
    "topic about the control or menu item you are on.</p>";

} // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpViewer"));
    resize(720, 520);
    tabs_ = new QTabWidget;
    contents_ = new QListWidget;
    contents_->setObjectName(QStringLiteral("HelpContents"));
    tabs_->addTab(contents_, QStringLiteral("Contents"));
    auto* index = new QWidget;
    auto* indexLayout = new QVBoxLayout(index);
    indexKey_ = new QLineEdit;
    indexKey_->setPlaceholderText(QStringLiteral("Type the first letters of a word"));
    indexList_ = new QListWidget;
    indexLayout->addWidget(indexKey_);
    indexLayout->addWidget(indexList_);
    tabs_->addTab(index, QStringLiteral("Index"));
    page_ = new QTextBrowser;
    page_->setOpenLinks(false);
    auto* split = new QSplitter;
    split->addWidget(tabs_);
    split->addWidget(page_);
    split->setStretchFactor(1, 2);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(split);

    connect(contents_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < static_cast<int>(file_.Topics.size()))
            ShowTopic(file_.Topics[static_cast<size_t>(row)]);
    });
    connect(indexKey_, &QLineEdit::textEdited, this, &HelpWindow::IndexKeyEdited);
    connect(indexKey_, &QLineEdit::returnPressed, this, &HelpWindow::OpenIndexEntry);
    connect(indexList_, &QListWidget::itemActivated, this, &HelpWindow::OpenIndexEntry);
    connect(page_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme() == QStringLiteral("topic"))
            ShowContext(url.path().toInt());
    });
}

bool HelpWindow::Open(const QString& fileName) {
    if (fileName == fileName_ && !file_.Topics.empty())
        return true;
    QString error;
    auto file = HelpDocument::Load(fileName, &error);
    if (!file) {
        Dialogs().MessageBox(nullptr, error, QStringLiteral("Help"), MB_OK | MB_ICONERROR);
        return false;
    }
    fileName_ = fileName;
    file_ = std::move(*file);
    setWindowTitle(file_.Title.isEmpty() ? QStringLiteral("Help") : file_.Title);
    FillLists();
    return true;
}

void HelpWindow::FillLists() {
    contents_->clear();
    for (const HelpTopic& t : file_.Topics)
        contents_->addItem(t.Title);
    std::map<QString, int> keywords; // sorted ignoring case, first topic wins
    for (const HelpTopic& t : file_.Topics) {
        for (const QString& k : t.Keywords)
            keywords.emplace(k.toLower() + u'\x01' + k, t.Context);
    }
    indexList_->clear();
    for (const auto& [key, context] : keywords) {
        auto* item = new QListWidgetItem(key.section(u'\x01', 1));
        item->setData(Qt::UserRole, context);
        indexList_->addItem(item);
    }
}

QString HelpWindow::CurrentTitle() const {
    if (current_ == kHelpOnHelp)
        return QStringLiteral("How to use help");
    const HelpTopic* t = file_.Topic(current_);
    return t ? t->Title : QString();
}

void HelpWindow::ShowTopic(const HelpTopic& topic) {
    current_ = topic.Context;
    page_->setHtml(TopicHtml(topic));
}

void HelpWindow::ShowContents() {
    tabs_->setCurrentIndex(0);
    if (!file_.Topics.empty())
        ShowTopic(file_.Topics.front());
    contents_->setCurrentRow(0);
}

void HelpWindow::ShowIndex(const QString& partialKey) {
    tabs_->setCurrentIndex(1);
    indexKey_->setText(partialKey);
    IndexKeyEdited(partialKey);
    indexKey_->setFocus();
}

void HelpWindow::IndexKeyEdited(const QString& text) {
    for (int i = 0; i < indexList_->count(); ++i) {
        if (indexList_->item(i)->text().startsWith(text, Qt::CaseInsensitive)) {
            indexList_->setCurrentRow(i);
            indexList_->scrollToItem(indexList_->item(i), QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

void HelpWindow::OpenIndexEntry() {
    if (QListWidgetItem* item = indexList_->currentItem())
        ShowContext(item->data(Qt::UserRole).toInt());
}

void HelpWindow::ShowHelpOnHelp() {
    current_ = kHelpOnHelp;
    page_->setHtml(QString::fromLatin1(kHelpOnHelpText));
}

void HelpWindow::ShowContext(int context) {
    const HelpTopic* topic = file_.Topic(context);
    if (!topic) {
        ShowContents();
        return;
    }
    ShowTopic(*topic);
    const auto row = topic - file_.Topics.data();
    const QSignalBlocker block(contents_);
    contents_->setCurrentRow(static_cast<int>(row));
}

HelpWindow& HelpViewer() {
    static HelpWindow* viewer = nullptr;
    if (!viewer)
        viewer = new HelpWindow; // lives as long as the application
    return *viewer;
}

bool WinHelp(const QString& fileName, unsigned command, quintptr data) {
    HelpWindow& viewer = HelpViewer();
    if (command == HELP_QUIT) {
        viewer.hide();
        return true;
    }
    if (command != HELP_HELPONHELP && !viewer.Open(fileName))
        return false;
    switch (command) {
    case HELP_CONTEXT:
        viewer.ShowContext(static_cast<int>(data));
        break;
    case HELP_PARTIALKEY:
        viewer.ShowIndex();
        break;
    case HELP_HELPONHELP:
        viewer.ShowHelpOnHelp();
        break;
    case HELP_FINDER:
    default:
        viewer.ShowContents();
        break;
    }
    viewer.show();
    viewer.raise();
    viewer.activateWindow();
    return true;
}

} // namespace platform
