#pragma once
// The clock panel: the device clock, the PC clock, setting and synchronising
// the device clock.
#include "protocol/Panel.h"
#include <optional>

#include <cstdint>
#include <string>

namespace zrn {
struct LocalDateTime;
}

class ClockPanel final : public PanelOf<ClockPanel> {
public:
    // daylightFlag: the device's daylight-saving flag, kept by the schedule table.
    ClockPanel(PanelHost& host, const int& daylightFlag);

    static Rows EventRows();
    void OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void RegisterReplies(ReplyTable& replies) override;

    void ShowPcClock();
    // A reply "C|date|time|".
    void ProcessReadClockResponse(const std::string& reply);
    // The device clock as last replied; the PC clock before the first reply.
    int64_t DeviceClockOrPc() const;
    // The device clock as last replied, 0 before the first reply.
    int64_t ZrnClock() const { return tZrnClock; }
    // The boxes show each reply: the operator is not editing the clock.
    bool FollowsZrnClock() const { return bFollowZrnClock != 0; }
    // The time box holds a time; polling starts only then.
    bool ZrnTimeShown() const { return tZrnTimePicker != 0; }

private:
    friend struct PanelTestAccess;

    int64_t tZrnClock = 0; // as last replied, 0 before the first reply
    int64_t tPendingClock = 0;
    int bFollowZrnClock = 0; // the boxes show each reply; 0 while the operator edits
    int bDateDropDown = 0;
    int bSyncToPc = 0;
    int nSyncAttempts = 0;            // set-clock sequences sent for the current request
    bool bPendingClockChosen = false; // a date or time picked since the last send or "X"
    int64_t tZrnDatePicker = 0, tZrnTimePicker = 0;

    // A clock change sent, waiting for a reading of the clock asked after it.
    struct ClockChange {
        int64_t tBefore = 0;
        int64_t tAfter = 0;
        int64_t tSentAtPc = 0;
        std::uint64_t nFirstQuery = 0;
    };
    void SendClockCommand(int64_t t);
    void JournalClockChange(std::optional<int64_t> deviceNow);
    void OnBnClickedButtonClock();
    void OnSetfocusZrnDateText();
    void OnSetfocusZrnTimeText();
    void OnSetfocusZrnPicker(Notify& n);
    void OnKillfocusZrnDate(Notify& n);
    void OnKillfocusZrnTime(Notify& n);
    void OnDropdownZrnDate(Notify& n);
    void OnCloseupZrnDate(Notify& n);
    void OnDatetimechangeZrnDate(Notify& n);
    void OnDatetimechangeZrnTime(Notify& n);
    void OnBnClickedCancelClockEdit();
    void OnBnClickedUpdateZrnClock();
    void OnBnClickedSyncZrnClock();
    void SetPendingClock(const zrn::LocalDateTime& fields);
    int64_t PendingOrDeviceClock() const;

    const int& daylightFlag;
    std::optional<ClockChange> clockChange;
};
