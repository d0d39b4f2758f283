// SPDX-License-Identifier: MIT
#pragma once

// What the image view's widget tests share: a catalogue table of given pictures with a view
// bound to it, a window that records messages, and small pictures.

#include "controls/imageview/db_multi_image.h"
#include "data/data_source.h"
#include "data/session.h"
#include "data/table.h"
#include "imaging/engine/engine_binding.h"
#include "tests/support/catalogue_fixture.h"
#include "tests/support/fake_dialogs.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

// A window that records the messages it is sent.
class Recorder : public QObject {
public:
    std::vector<unsigned> messages;
    std::vector<std::intptr_t> firsts;
    bool event(QEvent* e) override {
        if (e->type() != platform::MessageEvent::EventType())
            return QObject::event(e);
        auto* m = static_cast<platform::MessageEvent*>(e);
        messages.push_back(m->Msg);
        firsts.push_back(m->WParam);
        return true;
    }
    int Count(unsigned msg) const { return int(std::count(messages.begin(), messages.end(), msg)); }
};

inline QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

inline QImage Solid(QSize size, QRgb colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

inline QByteArray WithGraphicHeader(const QByteArray& data) {
    QByteArray b(8, '\0');
    b[0] = 1;
    b[3] = 1;
    for (int i = 0; i < 4; ++i)
        b[4 + i] = char(std::uint32_t(data.size()) >> (8 * i));
    return b + data;
}

class ImageViewFixture : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("VLMOR_WINDOWS_DIR", dir.path().toLocal8Bit());
        data::Session().AddPassword("tamsin###");
        imaging::EngineBinding::Instance().Start();
    }
    void TearDown() override {
        view.reset();
        delete source;
        imaging::EngineBinding::Instance().End();
        qunsetenv("VLMOR_WINDOWS_DIR");
    }
    // A table of the given pictures, open, with a view of `size` bound to it.
    void Bind(const std::vector<QByteArray>& pictures, QSize size = {200, 150},
              std::function<void(controls::TPDBMultiImage&)> configure = {}) {
        std::vector<catalog::CatalogueRecord> records;
        for (std::size_t i = 0; i < pictures.size(); ++i)
            records.push_back({QStringLiteral("P%1").arg(i), QStringLiteral("d"),
                               QStringLiteral("misc"), pictures[i]});
        fixture.WriteCatalogue("vlmor.db", records);
        table.SetTableName(fixture.Path("vlmor.db"));
        source = new data::TDataSource;
        source->SetDataSet(&table);
        view = std::make_unique<controls::TPDBMultiImage>();
        view->setObjectName("PDBMultiImage1");
        view->resize(size);
        view->SetBorderStyle(controls::bsNone);
        view->ToolbarWindow = &toolbar;
        view->OnFinishedLoadSave = [this](controls::TPDBMultiImage*) { ++finished; };
        if (configure)
            configure(*view);
        view->SetDataField("GraphicFile");
        view->SetDataSource(source);
        view->Loaded();
        view->show();
        table.Open();
    }
    QImage Grab() { return view->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    void Deliver() { QCoreApplication::sendPostedEvents(); }

    QTemporaryDir dir;
    FakeDialogs dialogs;
    CatalogueFixture fixture;
    data::TTable table;
    data::TDataSource* source = nullptr;
    std::unique_ptr<controls::TPDBMultiImage> view;
    Recorder toolbar;
    int finished = 0;
};
