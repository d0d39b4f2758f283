// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class TAboutBox;
class TDataModule1;
class TdlgSplash;
class TfMain;

namespace platform {
class TApplication;
}

/// How long the splash stays up, counted from just before it is created.
constexpr std::uint32_t SplashMilliseconds = 3999;

/// Waits until the tick counter is no longer below the deadline (unsigned comparison),
/// in short sleeps and without processing events. Gives the number of tick reads.
int WaitForTick(std::uint32_t deadline);

/// The program's start-up and its windows, created in their fixed order.
class Program {
public:
    explicit Program(platform::TApplication& app);
    ~Program();

    /// Called with the name of each start-up step as it completes (tests record the order).
    std::function<void(const QString& step)> Trace;

    /// Reads the INI file, shows the splash, creates the windows and waits out the splash.
    void Start(const QString& programPath);

    /// Shows the main window and runs the event loop until it is closed.
    int Run();

    TfMain* MainWindow() const { return main_.get(); }
    TDataModule1* DataModule() const { return dataModule_.get(); }
    TAboutBox* AboutBox() const { return about_.get(); }
    std::uint32_t Deadline() const { return deadline_; }

private:
    void Step(const QString& name);

    platform::TApplication& app_;
    std::unique_ptr<TfMain> main_;
    std::unique_ptr<TDataModule1> dataModule_;
    std::unique_ptr<TAboutBox> about_;
    std::uint32_t deadline_ = 0;
};
