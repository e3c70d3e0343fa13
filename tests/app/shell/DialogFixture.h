#pragma once
// A real CZRNcomDlg, built in a scratch working directory (its ./ZRNcom.ini)
// with the link exports replaced by a recorder.
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

// What the dialog handed to the link library.
struct LinkRecord {
    std::vector<std::string> sent;
    std::vector<bool> logCalls;
    static LinkRecord& Get() {
        static LinkRecord record;
        return record;
    }
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.isValid());
        previousDir = QDir::currentPath();
        QDir::setCurrent(scratch.path());
        savedLink = Link();
        LinkRecord::Get() = {};
        Link().send = [](const char* text) {
            LinkRecord::Get().sent.emplace_back(text);
            return 1;
        };
        Link().log = [](bool enable) {
            LinkRecord::Get().logCalls.push_back(enable);
            return 0;
        };
        Link().open = [](HWND, const char*) { return 1; };
        Link().close = [] { return 1; };
    }
    void TearDown() override {
        dialog.reset();
        Link() = savedLink;
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
    LinkApi savedLink{};
    std::unique_ptr<CZRNcomDlg> dialog;
};
