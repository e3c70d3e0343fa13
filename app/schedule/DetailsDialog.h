#pragma once
// The schedule details dialog: every field of the selected entry as text,
// read-only, for one modal run.
#include "platform/Dialog.h"
#include "resources/Resource.h"
#include "schedule/EntryDetails.h"

#include <string>

class SchedulePanel;

class CZRNcomProp : public CDialog {
public:
    // Reads the panel's selected entry; the main dialog is the parent.
    explicit CZRNcomProp(SchedulePanel& schedule);

    zrn::EntryDetailsTexts texts;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;

private:
    SchedulePanel& schedule;
};
