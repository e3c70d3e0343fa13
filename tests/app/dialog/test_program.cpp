// The ZRNcom program as a process.
#include <QProcess>
#include <QProcessEnvironment>
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
