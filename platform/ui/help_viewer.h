// SPDX-License-Identifier: MIT
#pragma once

#include "platform/core/help_file.h"

#include <QWidget>

class QListWidget;
class QLineEdit;
class QTabWidget;
class QTextBrowser;

namespace platform {

// The commands of the help viewer.
constexpr unsigned HELP_CONTEXT = 0x0001;
constexpr unsigned HELP_QUIT = 0x0002;
constexpr unsigned HELP_HELPONHELP = 0x0004;
constexpr unsigned HELP_FINDER = 0x000B;
constexpr unsigned HELP_PARTIALKEY = 0x0105;

/// The help window: contents, an index searched by the start of a keyword, the page on
/// using help, and topics by context number.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    /// Loads the file unless it is the one shown; false (and a message) when it cannot.
    bool Open(const QString& fileName);
    void ShowContents();
    void ShowIndex(const QString& partialKey = {});
    void ShowHelpOnHelp();
    /// The topic with that number; the contents when there is none.
    void ShowContext(int context);

    /// What is shown: a topic's number, or -1 for the page on using help.
    int CurrentContext() const { return current_; }
    QString CurrentTitle() const;
    QTabWidget* Tabs() const { return tabs_; }
    QLineEdit* IndexKey() const { return indexKey_; }
    QListWidget* IndexList() const { return indexList_; }
    QTextBrowser* Page() const { return page_; }
    const HelpDocument& File() const { return file_; }

private:
    void ShowTopic(const HelpTopic& topic);
    void FillLists();
    void IndexKeyEdited(const QString& text);
    void OpenIndexEntry();

    QString fileName_;
    HelpDocument file_;
    int current_ = 0;
    QTabWidget* tabs_;
    QListWidget* contents_;
    QLineEdit* indexKey_;
    QListWidget* indexList_;
    QTextBrowser* page_;
};

/// The viewer of the process (made on first use).
HelpWindow& HelpViewer();

/// Runs a help command on a help file, as the classic help call does.
bool WinHelp(const QString& fileName, unsigned command, quintptr data);

} // namespace platform
