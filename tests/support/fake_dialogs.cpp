// SPDX-License-Identifier: MIT
#include "tests/support/fake_dialogs.h"

namespace {
// Takes the next scripted answer; an empty script or a null entry cancels.
std::optional<QString> TakeAnswer(std::deque<std::optional<QString>>& script) {
    if (script.empty())
        return std::nullopt;
    const bool given = script.front().has_value();
    const QString text = given ? *script.front() : QString();
    script.pop_front();
    if (!given)
        return std::nullopt;
    return text;
}
} // namespace

FakeDialogs::FakeDialogs() {
    platform::SetDialogService(this);
}

FakeDialogs::~FakeDialogs() {
    platform::SetDialogService(nullptr);
}

int FakeDialogs::MessageBox(QWidget*, const QString& text, const QString& caption, unsigned flags) {
    boxes.push_back({text, caption, flags});
    if (boxAnswers.empty())
        return platform::IDOK;
    const int answer = boxAnswers.front();
    boxAnswers.pop_front();
    return answer;
}

std::optional<QString> FakeDialogs::PromptText(QWidget*, const QString& caption, const QString&,
                                               bool) {
    prompts << caption;
    return TakeAnswer(promptAnswers);
}

std::optional<QString> FakeDialogs::SaveFileName(QWidget*, const platform::SaveRequest& request) {
    prompts << request.caption;
    saveRequests.push_back(request);
    return TakeAnswer(saveAnswers);
}

bool FakeDialogs::PrintDialogWithOptions(QWidget* parent, const QList<QWidget*>& optionTabs) {
    if (printOptions)
        printOptions(optionTabs);
    return PrintDialog(parent);
}

std::optional<QString> FakeDialogs::ChooseFolder(QWidget*, const QString&, const QString& start) {
    folderStarts << start;
    return TakeAnswer(folderAnswers);
}

bool FakeDialogs::PrintPreview(QWidget*, const std::function<void()>& paint) {
    ++previews;
    return previewAnswer && previewAnswer(paint);
}

bool FakeDialogs::OptionsDialog(QWidget*, QWidget* page) {
    ++optionsDialogs;
    return optionsAnswer && optionsAnswer(page);
}

bool FakeDialogs::PrintDialog(QWidget*) {
    ++printDialogs;
    if (printAnswers.empty())
        return false;
    const bool answer = printAnswers.front();
    printAnswers.pop_front();
    return answer;
}

bool FakeDialogs::PrinterSetupDialog(QWidget*) {
    ++setupDialogs;
    return true;
}

std::optional<int>
FakeDialogs::ChooseScanner(QWidget*, const QList<platform::ScannerDevice>& devices, int current) {
    scannerLists.push_back(devices);
    scannerCurrents.push_back(current);
    if (scannerAnswers.empty())
        return current;
    const std::optional<int> answer = scannerAnswers.front();
    scannerAnswers.pop_front();
    return answer;
}

bool FakeDialogs::ScanSettings(QWidget*, platform::ScanRequest& request) {
    const bool go = scanAnswer ? scanAnswer(request) : true;
    scanRequests.push_back(request);
    return go;
}
