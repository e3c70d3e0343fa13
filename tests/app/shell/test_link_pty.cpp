// The real link library on a pseudo-terminal with a real main dialog: the far
// end plays the device.
#include "DialogFixture.h"

#include "FrameCrc.h"
#include "RawPty.h"
#include "platform/qt/LinkWindow.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTimer>
#include <chrono>
#include <poll.h>
#include <thread>
#include <unistd.h>

using namespace win;

namespace {

class LinkPtyTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        Link() = savedLink; // the real exports
        ASSERT_TRUE(pty.ok());
        master = pty.master();
        definition = pty.definition();
    }
    void TearDown() override {
        Link().close();
        DialogTest::TearDown();
    }
    void Open(CZRNcomDlg& dlg) {
        dlg.link.bLinkOpen = Link().open(&LinkWindow::Instance(), definition.c_str());
        ASSERT_EQ(dlg.link.bLinkOpen, 1);
    }
    // The device answers: ACK, then the framed reply.
    void DeviceReplies(const std::string& reply) {
        const std::string bytes = "\x06" + zrn::BuildFrame(reply);
        ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Reads from the device's end until `expected` has arrived, for at most five seconds.
    bool DeviceReceives(const std::string& expected) {
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (got.find(expected) == std::string::npos &&
               std::chrono::steady_clock::now() < deadline) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 50) > 0) {
                char buffer[256];
                const ssize_t n = ::read(master, buffer, sizeof buffer);
                if (n > 0)
                    got.append(buffer, static_cast<size_t>(n));
            }
        }
        return got.find(expected) != std::string::npos;
    }

    int master = -1;
    zrntest::RawPty pty;
    std::string definition;
};

} // namespace

TEST_F(LinkPtyTest, ReplyFromTheDeviceIsHandledOnTheGuiThreadAndShown) {
    std::vector<std::thread::id> handlerThreads;
    const DebugSink capture = SetDebugSink([&](std::string_view line) {
        if (line.starts_with("RES "))
            handlerThreads.push_back(std::this_thread::get_id());
    });
    CZRNcomDlg& dlg = Make();
    Open(dlg);
    DeviceReplies("F|02.07|");
    EXPECT_TRUE(QTest::qWaitFor([&] { return Text(IDC_VERSION) == "2:07"; }, 5000));
    DeviceReplies("B|12.6|3.55|");
    EXPECT_TRUE(QTest::qWaitFor([&] { return Text(IDC_INTERNAL_VOLTS) == "3.55"; }, 5000));
    EXPECT_EQ(Text(IDC_EXTERNAL_VOLTS), "12.60");
    ASSERT_EQ(handlerThreads.size(), 2u);
    for (const auto& id : handlerThreads)
        EXPECT_EQ(id, std::this_thread::get_id());
    SetDebugSink(capture);

    // And the other way: a button's query reaches the device.
    QTest::mouseClick(dlg.GetDlgItem(IDC_BUTTON_VERSION), Qt::LeftButton);
    EXPECT_TRUE(DeviceReceives(zrn::BuildFrame("F")));
}

TEST_F(LinkPtyTest, ReplyArrivingWhileAMessageBoxIsOpenIsHandled) {
    CZRNcomDlg& dlg = Make();
    Open(dlg);
    bool handledWhileOpen = false;
    bool written = false;
    QTimer watcher;
    const auto start = std::chrono::steady_clock::now();
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        if (!written) {
            written = true;
            DeviceReplies("F|10.12|");
        }
        handledWhileOpen = Text(IDC_VERSION) == "10:12";
        if (handledWhileOpen || std::chrono::steady_clock::now() - start > std::chrono::seconds(5))
            box->button(QMessageBox::Cancel) ? box->button(QMessageBox::Cancel)->click()
                                             : box->reject();
    });
    watcher.start(10);
    MessageBox(&dlg, "Change ZRN Clock to 12/06/2026 02:05:09 PM ?", {},
               MB_OKCANCEL | MB_ICONQUESTION);
    watcher.stop();
    EXPECT_TRUE(handledWhileOpen);
}

TEST_F(LinkPtyTest, WorkerThatOutlivesTheDialogIsAnsweredAtOnce) {
    CZRNcomDlg& dlg = Make();
    Open(dlg);
    dialog.reset(); // the program ends without closing the link
    DeviceReplies("F|01.00|");
    // The worker is not stuck in its notification: it still writes what is queued.
    ASSERT_EQ(Link().send("C"), 1);
    EXPECT_TRUE(DeviceReceives(zrn::BuildFrame("C")));
}
