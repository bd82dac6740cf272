// A second start of the program while a first copy holds the lock ends at
// once, without a window and without touching the settings, after asking
// the first copy to come forward.
#include "app/StartUp.h"
#include "support/QtApplication.h"
#include "support/TempFolder.h"
#include "ui/InstanceChannel.h"

#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using testsupport::ScopedEnv;
using testsupport::TempFolder;

TEST(SingleInstance, SecondCopyActivatesTheFirstAndEnds) {
    testsupport::Application();
    const TempFolder home;
    const TempFolder runtime;
    const ScopedEnv runtimeDir("XDG_RUNTIME_DIR", runtime.Path());
    const ScopedEnv homeDir("HOME", home.Path());
    const ScopedEnv documents("XDG_DOCUMENTS_DIR", home.File("Documents"));

    const auto lock = app::AcquireSingleInstance();
    ASSERT_TRUE(lock);
    ui::CInstanceChannel channel(app::kInstanceLockName);
    ASSERT_TRUE(channel.Listen());
    QSignalSpy activated(&channel, &ui::CInstanceChannel::ActivationRequested);

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(environment);
    second.start(RHYTHMORA_BINARY, {});
    ASSERT_TRUE(second.waitForStarted());
    EXPECT_TRUE(activated.wait(30000));
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_FALSE(std::filesystem::exists(home.File("Documents")));
}

TEST(SingleInstance, ChannelIgnoresOtherRequests) {
    testsupport::Application();
    const TempFolder runtime;
    const ScopedEnv runtimeDir("XDG_RUNTIME_DIR", runtime.Path());
    ui::CInstanceChannel channel("rhythmora-test-channel");
    ASSERT_TRUE(channel.Listen());
    QSignalSpy activated(&channel, &ui::CInstanceChannel::ActivationRequested);

    QLocalSocket stranger;
    stranger.connectToServer(
        QString::fromStdString(ui::InstanceSocketPath("rhythmora-test-channel")));
    ASSERT_TRUE(stranger.waitForConnected(5000));
    stranger.write(QByteArray(200, 'x') + "\n");
    stranger.waitForBytesWritten(5000);
    // A real request after it is still understood.
    EXPECT_TRUE(ui::CInstanceChannel::RequestActivation("rhythmora-test-channel"));
    EXPECT_TRUE(activated.wait(5000));
    EXPECT_EQ(activated.count(), 1);
}

} // namespace
