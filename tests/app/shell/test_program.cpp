// The ZRNcom program as a process.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Program, WithoutADisplayItSaysSoAndEndsWithFailure) {
    for (const char* platform : {"", "xcb", "wayland"}) {
        SCOPED_TRACE(platform);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.remove("QT_QPA_PLATFORM");
        env.remove("XDG_RUNTIME_DIR");
        if (*platform)
            env.insert("QT_QPA_PLATFORM", platform);
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(ZRNCOM_PROGRAM), {QStringLiteral("-LOG_COMM")});
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_NE(program.exitCode(), 0);
        EXPECT_EQ(program.readAllStandardError().toStdString(),
                  "Unable to initialize OLE.\nTerminating application!\n");
    }
}

TEST(Program, StartsOffscreenInitialisesTheDialogAndWaitsForTheUser) {
    QTemporaryDir workDir; // no ZRNcom.ini here: every default applies
    ASSERT_TRUE(workDir.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ZRNCOM_DEBUG", "1");
    QProcess program;
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(workDir.path());
    program.setReadChannel(QProcess::StandardError); // the traces
    program.start(QStringLiteral(ZRNCOM_PROGRAM), {QStringLiteral("-NO_SCAN_COMM_PORTS")});
    ASSERT_TRUE(program.waitForStarted(10000));
    QByteArray traces;
    const auto started = [&] {
        return traces.contains("ZRNcom/OnStartPollingTimer; 5000\n") &&
               traces.contains("SetRadioBoxParameters: Interval15Min\n");
    };
    while (!started() && program.waitForReadyRead(20000))
        traces += program.readAllStandardError();
    EXPECT_TRUE(traces.contains("ZRNcom/OnInitDialog; Entry\n"));
    EXPECT_TRUE(traces.contains("ZRNcom/OnStartPollingTimer; 5000\n"));
    EXPECT_TRUE(traces.contains("SetRadioBoxParameters: Interval15Min\n"));
    EXPECT_EQ(program.state(), QProcess::Running) << "the modal dialog waits for the user";
    program.kill();
    program.waitForFinished(10000);
}
