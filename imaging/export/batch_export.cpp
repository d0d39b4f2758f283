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
    std::vector<char> settled; // 0: under way, 1: its outcome is in, 2: dropped, never written
    std::vector<WriteOutcome> results;
    std::vector<QString> errors;
};

// A file being decoded and written.
struct InFlight {
    std::size_t slot;
    std::shared_ptr<DecodeJob> job;
};

// The worker's part of one file: never throws, and always settles its slot, so the export
// pass that waits for it cannot wait for ever.
void WriteOnWorker(Outcomes& outcomes, std::size_t slot, const DecodeResult& decoded,
                   const ExportOptions& options, const QString& path, bool replace) {
    QString error;
    WriteOutcome outcome = WriteOutcome::Failed;
    try {
        outcome = WriteExport(decoded, options, path, replace, &error);
    } catch (const std::bad_alloc&) {
        error = QStringLiteral("Not enough memory to write the picture");
    } catch (const std::exception& e) {
        error = QString::fromLocal8Bit(e.what());
    } catch (...) {
        error = QStringLiteral("The picture could not be written");
    }
    std::lock_guard hold(outcomes.lock);
    outcomes.results[slot] = outcome;
    outcomes.errors[slot] = error;
    outcomes.settled[slot] = 1;
    outcomes.changed.notify_all();
}

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
    outcomes->results.assign(files_.size(), WriteOutcome::Failed);
    outcomes->errors.resize(files_.size());
    const bool replace = existing == imaging::ExistingFiles::Replace;
    const std::size_t window = std::size_t(2 * std::max(1, workers_.Workers()));
    std::deque<InFlight> flying;
    std::vector<char> skipped(files_.size(), 0);
    int done = 0;
    const int total = int(files_.size());

    // Waits until fewer than `most` files are in flight, reporting progress meanwhile (when
    // `ask`); false when the progress asked to stop. A file is settled when its worker has
    // written it, or when it was dropped before it started (no worker will touch it then).
    auto waitBelow = [&](std::size_t most, bool ask) {
        std::unique_lock hold(outcomes->lock);
        for (;;) {
            for (auto it = flying.begin(); it != flying.end();) {
                const bool dropped = !outcomes->settled[it->slot] && it->job->Done() &&
                                     it->job->Wait().What == DecodeResult::Kind::Cancelled;
                if (dropped)
                    outcomes->settled[it->slot] = 2;
                if (outcomes->settled[it->slot]) {
                    ++done;
                    it = flying.erase(it);
                } else {
                    ++it;
                }
            }
            if (flying.size() < most)
                return true;
            outcomes->changed.wait_for(hold, std::chrono::milliseconds(30));
            if (ask) {
                hold.unlock();
                const bool go = !progress || progress(done, total);
                hold.lock();
                if (!go)
                    return false;
            }
        }
    };

    for (std::size_t slot = 0; slot < files_.size(); ++slot) {
        const PlannedFile& file = files_[slot];
        if ((progress && !progress(done, total)) || !waitBelow(window, true)) {
            summary.Cancelled = true;
            break;
        }
        if (existing == imaging::ExistingFiles::Skip && QFileInfo::exists(file.Path)) {
            skipped[slot] = 1;
            ++summary.KeptExisting;
            ++done;
            continue;
        }
        const QByteArray picture = StoredPicture(source.Blob(file.Index));
        if (!NeedsDecode(file.Item, options_)) {
            // Its bytes as they are: written here, no worker touches the slot.
            QString error;
            const WriteOutcome outcome = WriteExportBytes(picture, file.Path, replace, &error);
            std::lock_guard hold(outcomes->lock);
            outcomes->results[slot] = outcome;
            outcomes->errors[slot] = error;
            outcomes->settled[slot] = 1;
            ++done;
            continue;
        }
        DecodeRequest request;
        request.Blob = picture;
        auto job = workers_.Submit(
            std::move(request), 0,
            [outcomes, slot, options = options_, path = file.Path, replace](const DecodeJob& j) {
                WriteOnWorker(*outcomes, slot, j.Wait(), options, path, replace);
            });
        std::lock_guard hold(outcomes->lock);
        flying.push_back({slot, std::move(job)});
    }

    // The last ones: a stop drops what has not started; what runs finishes (its file is
    // whole or absent). The progress goes on meanwhile.
    for (;;) {
        if (summary.Cancelled) {
            std::lock_guard hold(outcomes->lock);
            for (const InFlight& f : flying)
                f.job->Cancel();
        }
        if (waitBelow(1, !summary.Cancelled))
            break;
        summary.Cancelled = true;
    }

    std::lock_guard hold(outcomes->lock);
    for (std::size_t slot = 0; slot < files_.size(); ++slot) {
        if (skipped[slot] || outcomes->settled[slot] == 0)
            continue;
        const PlannedFile& file = files_[slot];
        if (outcomes->settled[slot] == 2) { // dropped: by this export's stop, or by another
            if (!summary.Cancelled)
                summary.Failures << file.Name + QStringLiteral(": The export was stopped");
            continue;
        }
        switch (outcomes->results[slot]) {
        case WriteOutcome::Written:
            ++summary.Written;
            break;
        case WriteOutcome::Existed: // it came after the plan looked: left as it is
            if (existing == imaging::ExistingFiles::Skip)
                ++summary.KeptExisting;
            else
                summary.Refused << file.Path;
            break;
        case WriteOutcome::Failed:
            summary.Failures << file.Name + QStringLiteral(": ") + outcomes->errors[slot];
            break;
        }
    }
    if (progress && !summary.Cancelled)
        progress(total, total);
    return summary;
}

} // namespace imaging
