// SPDX-License-Identifier: MIT
#pragma once

// The real main window on a catalogue of 30 records in a temporary program directory.

#include "app/about_box.h"
#include "app/config.h"
#include "app/data_module.h"
#include "app/main_window.h"
#include "app/process_values.h"
#include "controls/datalist/data_list.h"
#include "controls/dbcontrols/db_navigator.h"
#include "controls/dbcontrols/db_text.h"
#include "data/session.h"
#include "platform/ui/tab_control.h"
#include "tests/support/catalogue_fixture.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

inline const QStringList kCategories = {"All", "Border", "Letter", "Misc"};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedDir = QDir::currentPath();
        savedConfig = Settings();
        ASSERT_TRUE(InitProcessValues(fixture.Path("vlmor")));
        fixture.WriteCatalogue("vlmor.db", CatalogueFixture::Records(30));
        fixture.WriteCategories("category.db", kCategories);
        QFile::copy(QStringLiteral(VLMOR_SOURCE_DIR "/resources/help/vlmor_help.txt"),
                    fixture.Path("Vlmor.hlp"));
        Settings().DataPath = fixture.Dir();
        window = std::make_unique<TfMain>();
        module = std::make_unique<TDataModule1>();
        about = std::make_unique<TAboutBox>();
        window->SetDataModule(module.get());
        window->SetAboutBox(about.get());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QTRY_VERIFY(window->Activations() >= 1);
    }
    void TearDown() override {
        window.reset();
        about.reset();
        module.reset();
        data::Session().RemoveAllPasswords();
        QDir::setCurrent(savedDir);
        Settings() = savedConfig;
    }

    QString FileLabel() const { return window->DBTextFile->text(); }
    int Rows() const { return window->DBDataList1->Items().Count(); }
    void ClickTab(int index) {
        QTabBar* bar = window->TabControl1->Tabs();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    void PressEnterIn(const QString& text) {
        window->edFilter->setText(text);
        QTest::keyClick(window->edFilter, Qt::Key_Return);
    }
    bool Enabled(controls::TNavigateBtn b) const {
        return window->DBNavigator1->Button(b)->isEnabled();
    }

    CatalogueFixture fixture;
    QString savedDir;
    Config savedConfig;
    std::unique_ptr<TfMain> window;
    std::unique_ptr<TDataModule1> module;
    std::unique_ptr<TAboutBox> about;
};
