// SPDX-License-Identifier: MIT
// --help and --version of the three programs, run as processes without a display.
#include "platform/core/command_line.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status = -1;
    QString out, err;
};

Outcome Start(const QString& program, const QStringList& arguments) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(display);
    p.setProcessEnvironment(env);
    p.start(program, arguments);
    Outcome r;
    if (!p.waitForFinished(30000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

TEST(CommandLine, EveryProgramPrintsItsVersionAndHelpWithoutADisplay) {
    const QString dir = VLMOR_BIN_DIR;
    for (const char* name : {"vlmor", "vlmor-catalog", "vlmor-image"}) {
        const QString program = dir + '/' + name;
        const Outcome version = Start(program, {"--version"});
        EXPECT_EQ(version.status, 0) << name << ": " << version.err.toStdString();
        EXPECT_EQ(version.out, QString("%1 %2\n").arg(name, VLMOR_VERSION_TEXT));
        const Outcome help = Start(program, {"--help"});
        EXPECT_EQ(help.status, 0) << name;
        EXPECT_TRUE(help.out.contains("usage:")) << name << ": " << help.out.toStdString();
        EXPECT_TRUE(help.out.contains(name));
        EXPECT_TRUE(help.out.contains("--version"));
        EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();
    }
}

TEST(CommandLine, TheFirstOfTheOptionsCountsAndNothingAfterTheDoubleDash) {
    const platform::ProgramText text{"tool", "A tool.", "usage: tool X\n"};
    auto parse = [&](std::vector<const char*> args) {
        args.insert(args.begin(), "tool");
        return platform::StandardOptionText(int(args.size()), args.data(), text);
    };
    EXPECT_EQ(parse({"--version", "--help"}), "tool " VLMOR_VERSION_TEXT "\n");
    EXPECT_EQ(parse({"list", "-h"})->substr(0, 8), "A tool.\n");
    EXPECT_EQ(parse({"--", "--help"}), std::nullopt) << "a file named --help";
    EXPECT_EQ(parse({"list", "x"}), std::nullopt);
}

} // namespace
