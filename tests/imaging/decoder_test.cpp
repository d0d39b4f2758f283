// SPDX-License-Identifier: MIT
// Decodes on worker threads: the same pictures the view's own decode gives, each job with its
// own error, cancelled in storms, in priority order, read ahead, and while the engine loads.
#include "imaging/decoding/decoder.h"
#include "imaging/decoding/read_ahead.h"
#include "imaging/engine/engine_binding.h"
#include "imaging/engine/engine_calls.h"
#include "imaging/undo_ring.h"
#include "tests/support/fake_dialogs.h"
#include "tools/samples/collection.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <set>

using namespace imaging;

namespace {

class Decoding : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(settings.isValid());
        qputenv("VLMOR_WINDOWS_DIR", settings.path().toLocal8Bit());
        EngineBinding::Instance().Start();
    }
    void TearDown() override {
        EngineBinding::Instance().End();
        qunsetenv("VLMOR_WINDOWS_DIR");
    }

    // One blob of each kind the collection holds (every format the view reads, metafiles,
    // the drawing, the credit messages, rich text), by its extension.
    static const std::map<QString, QByteArray>& Blobs() {
        static const std::map<QString, QByteArray> blobs = [] {
            std::map<QString, QByteArray> out;
            for (const samples::Sample& s : samples::Collection()) {
                const QString kind = samples::Extension(s.Format);
                if (!out.count(kind))
                    out[kind] = samples::Encode(s);
            }
            return out;
        }();
        return blobs;
    }
    static DecodeRequest Request(const QByteArray& blob) {
        DecodeRequest r;
        r.Blob = blob;
        return r;
    }
    static QImage Pixels(const DecodeResult& r) {
        return r.Bitmap.Handle().convertToFormat(QImage::Format_RGB32);
    }

    QTemporaryDir settings;
    FakeDialogs dialogs;
};

TEST_F(Decoding, ManyDecodesOfEveryKindAtOnceGiveWhatTheCallingThreadGets) {
    ASSERT_GE(Blobs().size(), 10u) << "the collection holds every kind";
    std::map<QString, DecodeResult> expected;
    for (const auto& [kind, blob] : Blobs())
        expected[kind] = Decoder::DecodeNow(Request(blob));
    const int undoBefore = UndoRing::Shared().UndoAvailable();

    Decoder decoder(2);
    std::vector<std::pair<QString, std::shared_ptr<DecodeJob>>> jobs;
    for (int round = 0; round < 6; ++round)
        for (const auto& [kind, blob] : Blobs())
            jobs.emplace_back(kind, decoder.Submit(Request(blob)));
    for (const auto& [kind, job] : jobs) {
        const DecodeResult& got = job->Wait();
        const DecodeResult& want = expected[kind];
        ASSERT_EQ(int(got.What), int(want.What)) << kind.toStdString();
        EXPECT_EQ(got.LoadName, want.LoadName) << kind.toStdString();
        EXPECT_EQ(got.Info.BlobWidth, want.Info.BlobWidth) << kind.toStdString();
        if (want.What == DecodeResult::Kind::Picture) {
            EXPECT_EQ(got.Bitmap.Handle().depth(), want.Bitmap.Handle().depth());
            EXPECT_EQ(got.Bitmap.Monochrome(), want.Bitmap.Monochrome());
            EXPECT_EQ(Pixels(got), Pixels(want)) << kind.toStdString();
        }
        if (want.What == DecodeResult::Kind::Drawing) {
            EXPECT_EQ(got.Drawing.Bytes(), want.Drawing.Bytes());
        }
    }
    std::set<int> kinds;
    for (const auto& [kind, r] : expected)
        kinds.insert(int(r.What));
    EXPECT_TRUE(kinds.count(int(DecodeResult::Kind::Picture)) &&
                kinds.count(int(DecodeResult::Kind::Drawing)) &&
                kinds.count(int(DecodeResult::Kind::Message)))
        << "pictures, drawings and messages were among them";
    EXPECT_EQ(UndoRing::Shared().UndoAvailable(), undoBefore) << "nothing went into the undo ring";
}

TEST_F(Decoding, EachJobKeepsItsOwnErrorAndTheOwnersStaysUntouched) {
    EngineBinding& engine = EngineBinding::Instance();
    engine.SetLastEngineError(7, QStringLiteral("the owner's own"));
    const QByteArray good = Blobs().at(QStringLiteral("JPG"));
    const QByteArray broken = good.left(good.size() / 3) + QByteArray(64, '\x55');
    const DecodeResult alone = Decoder::DecodeNow(Request(broken));
    ASSERT_EQ(int(alone.What), int(DecodeResult::Kind::Failed));
    ASSERT_FALSE(alone.Error.Text.isEmpty());
    EXPECT_EQ(engine.LastEngineError().Text, QStringLiteral("the owner's own"))
        << "a decode in its own scope leaves the owner's error";

    Decoder decoder(2);
    std::vector<std::shared_ptr<DecodeJob>> jobs;
    for (int i = 0; i < 40; ++i)
        jobs.push_back(decoder.Submit(Request(i % 2 ? broken : good)));
    for (int i = 0; i < 40; ++i) {
        const DecodeResult& r = jobs[std::size_t(i)]->Wait();
        if (i % 2) {
            EXPECT_EQ(int(r.What), int(DecodeResult::Kind::Failed));
            EXPECT_EQ(r.Error.Code, alone.Error.Code);
            EXPECT_EQ(r.Error.Text, alone.Error.Text);
        } else {
            EXPECT_EQ(int(r.What), int(DecodeResult::Kind::Picture));
            EXPECT_EQ(r.Error.Code, 0);
        }
    }
    decoder.WaitIdle();
    EXPECT_EQ(engine.LastEngineError().Code, 7);
    EXPECT_EQ(engine.Holders(), 0);
    // The JPEG failures asked for an unload while others held the engine; the owner's next
    // call carries it out and loads the engine again.
    HGLOBAL dib = nullptr;
    EXPECT_TRUE(ReadStreamToDib(EngineFormat::Jpeg, good.constData(), std::int32_t(good.size()), 24,
                                false, 0, &dib, nullptr, nullptr));
    EXPECT_TRUE(engine.EngineLoaded());
    GlobalFree(dib);
}

TEST_F(Decoding, CancelStormsDropQueuedJobsAndStopRunningOnes) {
    const QByteArray tiff = Blobs().at(QStringLiteral("TIF"));
    for (int storm = 0; storm < 6; ++storm) {
        Decoder decoder(2);
        // Both workers held until the storm is over, so what is cancelled has not started.
        std::mutex gate;
        std::unique_lock closed(gate);
        for (int w = 0; w < 2; ++w)
            decoder.Submit(Request(tiff), 1000, [&](const DecodeJob&) { std::lock_guard g(gate); });
        std::atomic<int> calledBack = 0;
        std::vector<std::shared_ptr<DecodeJob>> jobs;
        for (int i = 0; i < 60; ++i)
            jobs.push_back(
                decoder.Submit(Request(tiff), i % 3, [&](const DecodeJob&) { ++calledBack; }));
        for (std::size_t i = storm % 2; i < jobs.size(); i += 2)
            jobs[i]->Cancel();
        if (storm >= 4)
            decoder.DropQueued();
        closed.unlock();
        int cancelled = 0, decoded = 0;
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            const DecodeResult& r = jobs[i]->Wait();
            if (r.What == DecodeResult::Kind::Cancelled)
                ++cancelled;
            else if (r.What == DecodeResult::Kind::Picture)
                ++decoded;
            else
                ADD_FAILURE() << "job " << i << " neither decoded nor cancelled";
        }
        EXPECT_EQ(cancelled, storm >= 4 ? 60 : 30) << "storm " << storm;
        decoder.WaitIdle();
        EXPECT_EQ(calledBack, decoded) << "finished jobs call back, dropped ones do not";
    }
    EXPECT_EQ(EngineBinding::Instance().Holders(), 0);
    // A decode under way stops at the engine's next progress report.
    std::atomic<bool> stop = true;
    std::atomic<int> reports = 0;
    struct Count {
        static std::int16_t Report(std::int16_t, void* user) {
            ++*static_cast<std::atomic<int>*>(user);
            return 0;
        }
    };
    const DecodeResult stopped = Decoder::DecodeNow(Request(tiff), &stop, &reports, &Count::Report);
    EXPECT_EQ(int(stopped.What), int(DecodeResult::Kind::Cancelled));
    EXPECT_GE(reports, 1);
}

TEST_F(Decoding, HigherPrioritiesGoFirstAndEqualOnesInTheOrderAsked) {
    Decoder decoder(1);
    const QByteArray png = Blobs().at(QStringLiteral("PNG"));
    // The one worker is held by the first job until every other job is queued.
    std::mutex gate;
    std::unique_lock closed(gate);
    std::vector<int> order;
    std::mutex orderLock;
    auto record = [&](int id) {
        return [&, id](const DecodeJob&) {
            std::lock_guard hold(orderLock);
            order.push_back(id);
        };
    };
    decoder.Submit(Request(png), 1000, [&](const DecodeJob&) { std::lock_guard wait(gate); });
    decoder.Submit(Request(png), 1, record(1));
    decoder.Submit(Request(png), 5, record(2));
    decoder.Submit(Request(png), 1, record(3));
    decoder.Submit(Request(png), 9, record(4));
    closed.unlock();
    decoder.WaitIdle();
    EXPECT_EQ(order, (std::vector<int>{4, 2, 1, 3}));
}

TEST_F(Decoding, DecodesRunWhileTheEngineIsFirstLoaded) {
    for (int round = 0; round < 4; ++round) {
        EngineBinding::Instance().FreeEngine();
        ASSERT_FALSE(EngineBinding::Instance().EngineLoaded());
        Decoder decoder(2);
        std::vector<std::shared_ptr<DecodeJob>> jobs;
        for (const auto& [kind, blob] : Blobs())
            jobs.push_back(decoder.Submit(Request(blob)));
        for (const auto& job : jobs)
            EXPECT_NE(int(job->Wait().What), int(DecodeResult::Kind::Failed))
                << job->Wait().Error.Text.toStdString();
    }
}

TEST_F(Decoding, DrawingsAndPicturesRenderAtTheAskedSize) {
    for (const char* kind : {"WMF", "EMF", "PNG", "DXF"}) {
        ASSERT_TRUE(Blobs().count(QLatin1String(kind))) << kind;
        DecodeRequest r = Request(Blobs().at(QLatin1String(kind)));
        r.RenderSize = QSize(96, 96);
        const DecodeResult got = Decoder::DecodeNow(r);
        ASSERT_EQ(got.Rendered.size(), QSize(96, 96)) << kind;
        int drawn = 0;
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 96; ++x)
                drawn += qAlpha(got.Rendered.pixel(x, y)) != 0;
        EXPECT_GT(drawn, 96 * 20) << kind << ": fitted across the square's width at least";
    }
}

TEST_F(Decoding, ReadAheadGivesTheSamePictureAndDropsWhatHasNotStarted) {
    Decoder decoder(2);
    ReadAhead ahead(decoder);
    const DecodeRequest jpeg = Request(Blobs().at(QStringLiteral("JPG")));
    const DecodeRequest gif = Request(Blobs().at(QStringLiteral("GIF")));
    ahead.Want({jpeg, gif});
    EXPECT_EQ(ahead.Held(), 2);
    decoder.WaitIdle(); // the user is slower than the workers
    const std::optional<DecodeResult> got = ahead.Take(jpeg);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(Pixels(*got), Pixels(Decoder::DecodeNow(jpeg)));
    EXPECT_FALSE(ahead.Take(jpeg).has_value()) << "taken once";
    DecodeRequest deeper = gif;
    deeper.Depth = 8;
    EXPECT_FALSE(ahead.Take(deeper).has_value()) << "another depth is another picture";
    // Wanting others lets the rest go; a job still queued behind a busy worker is dropped on
    // taking.
    Decoder one(1);
    ReadAhead queued(one);
    std::mutex gate;
    std::unique_lock closed(gate);
    one.Submit(gif, 100, [&](const DecodeJob&) { std::lock_guard wait(gate); });
    queued.Want({jpeg});
    EXPECT_FALSE(queued.Take(jpeg).has_value()) << "not started: the caller decodes it";
    closed.unlock();
    one.WaitIdle();
    ahead.Want({});
    EXPECT_EQ(ahead.Held(), 0);
    // A picture over the bound is not decoded ahead: two held would outweigh the one shown.
    DecodeRequest bounded = jpeg;
    bounded.MaxPixels = 10;
    EXPECT_EQ(int(Decoder::DecodeNow(bounded).What), int(DecodeResult::Kind::Skipped));
    EXPECT_GT(ReadAhead::kMaxPixels, 4000 * 3000) << "a 12-Mpixel photograph is read ahead";
}

} // namespace
