// SPDX-License-Identifier: MIT
#pragma once

#include "data/data_source.h"
#include "data/field.h"
#include "data/table.h"

#include <QObject>

class CatalogueWindow;

/// Holds the catalogue and category tables and their filtering.
class TDataModule1 : public QObject {
    Q_OBJECT
public:
    explicit TDataModule1(QObject* parent = nullptr);
    ~TDataModule1() override;

    /// Runs each time the main window becomes the program's active window: gives the
    /// session the password, reopens both tables, filters the catalogue by the search state
    /// and rebuilds the window's tabs. An error ends the sequence where it happened.
    void Activate(CatalogueWindow& window);

    /// The user selected another tab: filter the catalogue by its category (none for the
    /// first tab).
    void CategoryChange(int tabIndex, const QString& caption);

    /// The search filter of the catalogue table.
    void Table1FilterRecord(data::TDataSet& dataSet, bool& accept);
    /// Reads the search state once for a pass of Table1's filters; whether records are asked.
    bool Table1FilterPass(data::TDataSet& dataSet);

    /// Values the activation sequence leaves for the main window.
    const QString& ProgramDirectory() const { return programDirectory_; }
    const QString& SaveInitialDir() const { return saveInitialDir_; }
    const QString& HelpFileName() const { return helpFileName_; }

    // Components, in the order the module owns them.
    data::TDataSource* DataSource1;
    data::TTable* Table1;
    data::TStringField* Table1FileName;
    data::TStringField* Table1Description;
    data::TBlobField* Table1GraphicFile;
    data::TStringField* Table1Category;
    data::TDataSource* DataSource2;
    data::TTable* Table2;

private:
    CatalogueWindow* window_ = nullptr;
    QString lastSearchText_;
    QString lastSearchUpper_;
    // What the search filter read at the start of the pass it is in.
    bool searching_ = false;
    const data::TField* searchField_ = nullptr;
    QString programDirectory_;
    QString saveInitialDir_;
    QString helpFileName_;
};

/// The data module of the running program (null before it is made).
TDataModule1* DataModule1();
