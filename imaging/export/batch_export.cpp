// SPDX-License-Identifier: MIT
#include "imaging/export/batch_export.h"

#include "imaging/export/export_naming.h"

#include <QDir>
#include <QFileInfo>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

namespace imaging {

namespace {

// What the workers hand back to the export pass: each file's outcome, by its place in the plan.
struct Outcomes {
    std::mutex lock;
    std::condition_variable changed;
    std::vector<char> settled;
    std::vector<QString> errors; // empty: written
};

// A file being decoded and written.
struct InFlight {
    std::size_t slot;
    std::shared_ptr<DecodeJob> job;
};

} // namespace

QString SkippedText(const ExportSummary& summary) {
    QStringList parts;
    if (summary.Messages)
        parts << QString::number(summary.Messages) +
                     QStringLiteral(" credit messages or rich text");
    if (summary.Empty)
        parts << QString::number(summary.Empty) + QStringLiteral(" without a picture");
    if (summary.KeptExisting)
        parts << QString::number(summary.KeptExisting) + QStringLiteral(" existing files kept");
    return parts.join(QStringLiteral(", "));
}

BatchExport::BatchExport(Decoder& workers, ExportOptions options, QString folder)
    : workers_(workers)
    , options_(options)
    , folder_(std::move(folder)) {}

bool BatchExport::Plan(const ExportSource& source, const ExportProgress& progress) {
    files_.clear();
    planned_ = {};
    ExportNaming naming;
    const QDir folder(folder_);
    for (int i = 0; i < source.Count; ++i) {
        if (progress && !progress(i, source.Count)) {
            files_.clear();
            planned_ = {};
            return false;
        }
        const QString recordName = source.FileName(i);
        const ExportPlanItem item = PlanExport(StoredPicture(source.Blob(i)), options_);
        switch (item.What) {
        case ExportPlanItem::Kind::Message:
            ++planned_.Messages;
            break;
        case ExportPlanItem::Kind::Nothing:
            ++planned_.Empty;
            break;
        case ExportPlanItem::Kind::Failed:
            planned_.Failures << recordName + QStringLiteral(": ") + item.Error;
            break;
        case ExportPlanItem::Kind::Picture:
        case ExportPlanItem::Kind::Vector: {
            PlannedFile file;
            file.Index = i;
            file.Name = recordName;
            file.Path =
                folder.filePath(naming.Take(ExportNaming::Stem(recordName, i + 1), item.Extension));
            file.Item = item;
            files_.push_back(std::move(file));
            break;
        }
        }
    }
    if (progress)
        progress(source.Count, source.Count);
    return true;
}

QStringList BatchExport::Files() const {
    QStringList out;
    for (const PlannedFile& f : files_)
        out << f.Path;
    return out;
}

QStringList BatchExport::ExistingFiles() const {
    QStringList out;
    for (const PlannedFile& f : files_)
        if (QFileInfo::exists(f.Path))
            out << f.Path;
    return out;
}

ExportSummary BatchExport::Run(const ExportSource& source, imaging::ExistingFiles existing,
                               const ExportProgress& progress) {
    ExportSummary summary = planned_;
    const QStringList present = ExistingFiles();
    if (existing == imaging::ExistingFiles::Refuse && !present.isEmpty()) {
        summary.Refused = present;
        return summary;
    }
    if (!QDir().mkpath(folder_)) {
        summary.Failures << QStringLiteral("Cannot make the folder ") + folder_;
        return summary;
    }

    auto outcomes = std::make_shared<Outcomes>();
    outcomes->settled.assign(files_.size(), 0);
    outcomes->errors.resize(files_.size());
    const std::size_t window = std::size_t(2 * std::max(1, workers_.Workers()));
    std::deque<InFlight> flying;
    std::vector<char> skipped(files_.size(), 0);
    int done = 0;
    const int total = int(files_.size());

    // Takes the settled ones off the window; true when the caller asked to stop.
    auto collect = [&](bool block) {
        std::unique_lock hold(outcomes->lock);
        for (;;) {
            for (auto it = flying.begin(); it != flying.end();) {
                if (outcomes->settled[it->slot]) {
                    ++done;
                    it = flying.erase(it);
                } else {
                    ++it;
                }
            }
            if (!block || flying.size() < window)
                return;
            outcomes->changed.wait_for(hold, std::chrono::milliseconds(30));
            hold.unlock();
            const bool go = !progress || progress(done, total);
            hold.lock();
            if (!go) {
                summary.Cancelled = true;
                return;
            }
        }
    };

    for (std::size_t slot = 0; slot < files_.size() && !summary.Cancelled; ++slot) {
        const PlannedFile& file = files_[slot];
        if (progress && !progress(done, total)) {
            summary.Cancelled = true;
            break;
        }
        collect(true);
        if (summary.Cancelled)
            break;
        if (existing == imaging::ExistingFiles::Skip && QFileInfo::exists(file.Path)) {
            skipped[slot] = 1;
            ++summary.KeptExisting;
            ++done;
            continue;
        }
        const QByteArray picture = StoredPicture(source.Blob(file.Index));
        if (!NeedsDecode(file.Item, options_)) {
            QString error;
            if (!WriteExportBytes(picture, file.Path, &error))
                outcomes->errors[slot] = error;
            outcomes->settled[slot] = 1; // this thread's own: no worker touches the slot
            ++done;
            continue;
        }
        DecodeRequest request;
        request.Blob = picture;
        const ExportOptions options = options_;
        const QString path = file.Path;
        auto job = workers_.Submit(std::move(request), 0,
                                   [outcomes, slot, options, path](const DecodeJob& j) {
                                       QString error;
                                       const bool ok = WriteExport(j.Wait(), options, path, &error);
                                       std::lock_guard hold(outcomes->lock);
                                       if (!ok)
                                           outcomes->errors[slot] = error;
                                       outcomes->settled[slot] = 1;
                                       outcomes->changed.notify_all();
                                   });
        std::lock_guard hold(outcomes->lock);
        flying.push_back({slot, std::move(job)});
    }

    // A stop drops what has not started; what runs finishes (its file is whole or absent).
    if (summary.Cancelled)
        for (const InFlight& f : flying)
            f.job->Cancel();
    for (const InFlight& f : flying) {
        const DecodeResult& result = f.job->Wait();
        std::unique_lock hold(outcomes->lock);
        if (result.What == DecodeResult::Kind::Cancelled) {
            outcomes->settled[f.slot] = 2; // never written
            continue;
        }
        outcomes->changed.wait(hold, [&] { return outcomes->settled[f.slot] != 0; });
    }
    flying.clear();

    std::lock_guard hold(outcomes->lock);
    for (std::size_t slot = 0; slot < files_.size(); ++slot) {
        if (skipped[slot] || outcomes->settled[slot] == 0)
            continue;
        if (outcomes->settled[slot] == 2) { // dropped: by this export's stop, or by another
            if (!summary.Cancelled)
                summary.Failures << files_[slot].Name + QStringLiteral(": The export was stopped");
            continue;
        }
        if (outcomes->errors[slot].isEmpty())
            ++summary.Written;
        else
            summary.Failures << files_[slot].Name + QStringLiteral(": ") + outcomes->errors[slot];
    }
    if (progress && !summary.Cancelled)
        progress(total, total);
    return summary;
}

} // namespace imaging
