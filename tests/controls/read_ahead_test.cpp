// SPDX-License-Identifier: MIT
// The image view moved fast through records whose neighbours are read ahead on the decoder's
// workers: each record shows its own picture whether its read ahead was done, under way, still
// queued or cancelled.
#include "tests/controls/image_view_fixture.h"

#include "data/field.h"
#include "imaging/decoding/decoder.h"
#include "imaging/decoding/read_ahead.h"

#include <QImage>

namespace {

class FastMoves : public ImageViewFixture {};

TEST_F(FastMoves, EveryRecordShowsItsOwnPictureWhileItsNeighboursAreReadAhead) {
    std::vector<QByteArray> blobs;
    std::vector<QRgb> colours;
    for (int i = 0; i < 8; ++i) {
        colours.push_back(qRgb(30 * i, 255 - 30 * i, (i * 70) % 256));
        QImage picture(400 + 10 * i, 300, QImage::Format_RGB32);
        picture.fill(colours.back());
        blobs.push_back(Encoded(picture, i % 2 ? "PNG" : "BMP"));
    }
    Bind(blobs, {120, 90});
    auto* field = static_cast<data::TBlobField*>(table.FindField("GraphicFile"));
    ASSERT_NE(field, nullptr);
    imaging::Decoder decoder(2);
    imaging::ReadAhead ahead(decoder);
    view->SetReadAhead(&ahead);
    auto readNeighbours = [&] {
        std::vector<imaging::DecodeRequest> wanted;
        for (int offset : {1, -1})
            if (QByteArray blob = table.NeighbourBlob(*field, offset); !blob.isEmpty())
                wanted.push_back(view->ReadRequest(blob));
        ahead.Want(wanted);
    };
    // Forwards and back, never waiting for the workers: some pictures are ready, some half
    // read, some never started.
    int record = 0;
    const int steps[] = {1, 1, 1, -1, 1, 1, 1, 1, -1, -1, -1, 1, 1, 1, -1, -1, -1, -1, -1, 1};
    for (int round = 0; round < 3; ++round)
        for (int step : steps) {
            record += table.StepBy(step);
            readNeighbours();
            const QImage shown = view->Picture.Bitmap().Handle();
            ASSERT_FALSE(shown.isNull()) << record;
            EXPECT_EQ(shown.width(), 400 + 10 * record);
            EXPECT_EQ(shown.pixel(5, 5), colours[std::size_t(record)]) << record;
        }
    view->SetReadAhead(nullptr);
}

} // namespace
