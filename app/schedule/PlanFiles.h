#pragma once
// "Export schedules..." and "Import schedules..." of the window menu: the
// device's four schedules to a plan file, and a plan file's schedules to the
// device through the schedule panel's own upload and read-back.
#include "device/PlanImport.h"
#include "model/Plan.h"

#include <string>

class PanelHost;
class SchedulePanel;

class CPlanFiles {
public:
    explicit CPlanFiles(SchedulePanel& schedule) : schedule(schedule) {}

    void OnExportSchedules();
    void OnImportSchedules();
    // What is known of the device's schedules has changed: an import goes on
    // once the read-backs of its step are in.
    void OnDeviceSchedules();
    // Stores or activations sent, their read-backs not all in.
    bool Importing() const { return stage != Stage::Idle; }

private:
    enum class Stage { Idle, Storing, Activating };

    bool Refuse(const std::string& text);
    bool RefuseWithoutDevice();
    void Store();
    void Activate();
    bool ReadBacksIn() const;
    bool AllStored() const;
    void Report();

    PanelHost& Host();

    SchedulePanel& schedule;
    Stage stage = Stage::Idle;
    zrn::Plan plan;
    zrn::ImportSteps steps;
    std::string strFileName; // for the operator's messages
};
