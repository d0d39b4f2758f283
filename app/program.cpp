// SPDX-License-Identifier: MIT
#include "app/program.h"

#include "app/about_box.h"
#include "app/config.h"
#include "app/data_module.h"
#include "app/main_window.h"
#include "app/splash_window.h"
#include "platform/core/tick_counter.h"
#include "platform/ui/application.h"

#include <unistd.h>

int WaitForTick(std::uint32_t deadline) {
    int reads = 1;
    while (platform::GetTickCount() < deadline) {
        usleep(2000);
        ++reads;
    }
    return reads;
}

Program::Program(platform::TApplication& app)
    : app_(app) {}

Program::~Program() = default;

void Program::Step(const QString& name) {
    if (Trace)
        Trace(name);
}

void Program::Start(const QString& programPath) {
    Settings() = ReadConfig(programPath);
    const Config& config = Settings();
    Step(QStringLiteral("config"));

    const std::uint32_t start = platform::GetTickCount();
    deadline_ = start + SplashMilliseconds; // wraps like the tick counter itself
    auto splash = std::make_unique<TdlgSplash>();
    splash->Panel.SetTexts(config.QuantityText, config.Line1Text, config.Line2Text);
    splash->ShowAndPaint();
    Step(QStringLiteral("splash"));

    app_.Initialize();
    app_.SetHelpFile(QStringLiteral("vlmor.hlp"));
    app_.SetTitle(QStringLiteral("Vellamore"));
    Step(QStringLiteral("application"));

    main_ = std::make_unique<TfMain>();
    app_.SetMainForm(main_.get());
    main_->setWindowTitle(config.TitleText);
    Step(QStringLiteral("main"));

    dataModule_ = std::make_unique<TDataModule1>();
    main_->SetDataModule(dataModule_.get());
    Step(QStringLiteral("data"));

    about_ = std::make_unique<TAboutBox>();
    about_->Panel.SetTexts(config.QuantityText, config.Line1Text, config.Line2Text);
    main_->SetAboutBox(about_.get());
    Step(QStringLiteral("about"));

    WaitForTick(deadline_);
    Step(QStringLiteral("wait"));

    splash->hide();
    splash.reset();
    Step(QStringLiteral("splash closed"));
}

int Program::Run() {
    return app_.Run();
}
