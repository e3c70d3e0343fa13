#pragma once
// Finding the device's port: the automatic scan step and "&ZRN Connect".
#include "ports/OpenZrn.h"
#include "protocol/Panel.h"

#include <string>
#include <string_view>

class PortsPanel final : public PanelOf<PortsPanel> {
public:
    explicit PortsPanel(PanelHost& host) : PanelOf(host), openZrn(&host.Window()) {}
    static Rows EventRows() { return {}; }

    // One step of the scan: the next port of the system's list is opened.
    void ScanNextPort();
    // The window menu's "&ZRN Connect": the port the operator chooses.
    void OnZrnConnect();

private:
    friend struct PanelTestAccess;

    COpenZrn openZrn;
    std::string PortPermissionHint(std::string_view definition);

    int nPortScanIndex = 0;
    bool bPortHintShown = false; // the log box names a refused port's group once
};
