#pragma once
// A real CZRNcomDlg, built in a scratch working directory (its ./ZRNcom.ini)
// with the link exports replaced by a recorder.
#include "LinkRecorder.h"
#include "TestSupport.h"
#include "platform/Win.h"
#include "protocol/LinkApi.h"
#include "resources/Resource.h"
#include "shell/ZRNcomDlg.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.isValid());
        previousDir = QDir::currentPath();
        QDir::setCurrent(scratch.path());
    }
    void TearDown() override {
        dialog.reset();
        QDir::setCurrent(previousDir);
    }
    void WriteIni(const char* text) {
        QFile file(scratch.filePath("ZRNcom.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    CZRNcomDlg& Make(const char* commandLine = "/usr/bin/ZRNcom") {
        dialog = std::make_unique<CZRNcomDlg>(commandLine);
        dialog->Create();
        return *dialog;
    }
    void Show() {
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    // A notification as the link library's worker would send it, here on the GUI thread.
    void Notify(uintptr_t code, const char* text) {
        dialog->SendMessage(kWindow, WM_ZRN_LINK, code, reinterpret_cast<intptr_t>(text));
    }
    std::string Text(int id) { return dialog->GetDlgItemText(id); }

    DebugCapture debug;
    QTemporaryDir scratch;
    QString previousDir;
    LinkRecorder recorder;
    LinkApi savedLink = recorder.Saved(); // the real exports
    std::unique_ptr<CZRNcomDlg> dialog;
};
