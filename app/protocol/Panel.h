#pragma once
// A panel of the main dialog owns its state, its event rows, its start-up,
// its data exchange and the replies it handles. It reaches the dialog only
// through PanelHost, so a change to a panel stays in its folder.
#include "fleet/Journal.h"
#include "platform/Dialog.h"
#include "platform/EventTable.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class ReplyTable;
// Tests reach into a panel's state through this; the program asks by name.
struct PanelTestAccess;

// What a panel may ask of the dialog that holds it.
class PanelHost {
public:
    // The window that holds the panel's controls.
    virtual CDialog& Window() = 0;
    // Without an open port the command is dropped: polling asks again later.
    virtual void SendCommand(std::string_view text) = 0;
    virtual void AppendLog(std::string_view text) = 0;
    // Closes the port, forgets what was asked on it, and opens this one
    // ("path:9600,N,8,1"); false when it does not open.
    virtual bool ReopenLink(const std::string& definition) = 0;
    // Why the last ReopenLink failed, in the link's words; empty when it
    // opened or the link did not say.
    virtual std::string OpenFailure() const = 0;
    // Commands are dropped until the next open succeeds.
    virtual void HoldCommands() = 0;
    // A port is open: commands go out.
    virtual bool LinkOpen() const = 0;
    // A port is open and a device answers on it.
    virtual bool DeviceConnected() const = 0;
    // Tells the operator, in a box shortly after, what the device did not take.
    virtual void ReportLater(const std::string& text) = 0;
    // Queries are numbered in the order they go out: the number of the next
    // one, and of the one the reply being handled answers (none when it
    // answers nothing awaited).
    virtual std::uint64_t NextQuery() const = 0;
    virtual std::optional<std::uint64_t> AnsweredQuery() const = 0;
    // Called before a command that changes the device goes out: the first on a
    // connection saves what the device holds.
    virtual void BeforeChange() {}
    // A change sent and read back (or not), for the journal of changes.
    virtual void ChangeDone(const std::string& what, const zrn::Json& before,
                            const zrn::Json& after, zrn::ChangeResult result) {
        (void)what, (void)before, (void)after, (void)result;
    }

protected:
    ~PanelHost() = default;
};

class Panel {
public:
    explicit Panel(PanelHost& host) : host(host) {}
    virtual ~Panel() = default;
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // The panel's event rows; false when none matches.
    virtual bool OnMessage(Notify& n) = 0;
    // {control, notification} of each row.
    virtual std::vector<std::pair<int, int>> EventKeys() const = 0;
    virtual void OnInitDialog() {}
    virtual void DoDataExchange(DataExchange&) {}
    virtual void RegisterReplies(ReplyTable&) {}
    // The port was closed: nothing asked on it will be answered.
    virtual void LinkClosed() {}
    // A query the device skipped: its reply will not come.
    virtual void ReplyLost(const std::string& /*queryKey*/) {}

protected:
    CDialog& Window() { return host.Window(); }
    // Rows that only mark a notification handled.
    void OnNotifyHandled(Notify& n) { n.result = 0; }

    PanelHost& host;
};

// A panel whose rows are a static table of its own handlers.
template <class Derived> class PanelOf : public Panel {
public:
    using Panel::Panel;
    using Rows = std::span<const EventEntry<Derived>>;

    bool OnMessage(Notify& n) override {
        return Dispatch<Derived>(static_cast<Derived&>(*this), Derived::EventRows(), n);
    }
    std::vector<std::pair<int, int>> EventKeys() const override {
        std::vector<std::pair<int, int>> keys;
        for (const auto& row : Derived::EventRows())
            keys.emplace_back(row.id, row.code);
        return keys;
    }
};
