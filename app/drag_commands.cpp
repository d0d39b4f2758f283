// SPDX-License-Identifier: MIT
// Dragging a picture out of the program: the current row of the list or a tile of the
// overview, dropped into another program.
#include "app/data_module.h"
#include "app/main_window.h"
#include "controls/dragout/picture_drag.h"
#include "platform/core/error_reporter.h"

#include <QDrag>

void TfMain::DragPicture(int record) {
    platform::RunGuarded([this, record] {
        if (!data_ || !data_->Table1->Active() || record < 0)
            return;
        const data::TTable& table = *data_->Table1;
        controls::PictureMimeData* mime =
            controls::PictureMimeData::Make(table.RecordText(record, *data_->Table1FileName),
                                            table.RecordBlob(record, *data_->Table1GraphicFile));
        if (!mime)
            return; // nothing a program could take: a message, a note, no picture
        auto* drag = new QDrag(this);
        drag->setMimeData(mime);
        drag->exec(Qt::CopyAction, Qt::CopyAction);
    });
}

void TfMain::DragCurrentRow() {
    // The press made the row's record the current one.
    if (!data_)
        return;
    const data::TTable& table = *data_->Table1;
    const int position = table.Active() ? table.CurrentPosition() : -1;
    if (position >= 0)
        DragPicture(table.VisibleRecord(position));
}
