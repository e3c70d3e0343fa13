#include "ports/PortsPanel.h"

#include "model/Catalogue.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/Win.h"
#include "ports/PortAccess.h"
#include "device/PortList.h"

void PortsPanel::ScanNextPort() {
    // Nothing goes out until this step's open has succeeded.
    host.HoldCommands();
    const zrn::ScanChoice choice = zrn::ChoosePortToScan(zrn::SystemSerialPorts(), nPortScanIndex);
    if (choice.port) {
        const std::string definition = zrn::PortDefinition(*choice.port);
        const bool open = host.ReopenLink(definition);
        DebugTrace("ZRNcom/ScanNextPort; %s, open = %d\n", definition.c_str(), open ? 1 : 0);
        if (!open)
            PortPermissionHint(definition); // and the scan goes on with the next port
    }
    nPortScanIndex = choice.nNextIndex;
}

void PortsPanel::OnZrnConnect() {
    DebugTrace("ZRNcom/OnZrnConnect; Entry\n");
    // 1.
    if (openZrn.DoModal() != win::IDOK)
        return;
    // 2. A manual choice does not stop the scan: a silent port is left again.
    const bool open = host.ReopenLink(openZrn.strPortDefinition);
    DebugTrace("ZRNcom/OnZrnConnect; %s, open = %d\n", openZrn.strPortDefinition.c_str(),
               open ? 1 : 0);
    if (open)
        COpenZrn::RememberNetworkPort(zrn::DevicePath(openZrn.strPortDefinition));
    // The operator chose this port: a refusal they can mend is worth a box,
    // and so is why a gateway did not answer.
    if (!open) {
        std::string why = PortPermissionHint(openZrn.strPortDefinition);
        if (why.empty())
            why = host.OpenFailure();
        if (!why.empty())
            MessageBox(&Window(), why, {}, win::MB_OK | win::MB_ICONWARNING);
    }
    // 3. Every status value; the schedule table is not read here.
    for (const std::string& command : zrn::FullReadSequence())
        host.SendCommand(command);
}

// Empty unless the port exists and the user lacks the rights to it. The log box
// says it once: the scan meets the same port again every few seconds.
std::string PortsPanel::PortPermissionHint(std::string_view definition) {
    const std::string device = zrn::DevicePath(definition);
    if (zrn::HasUrlScheme(device))
        return {}; // no file, no group
    const auto group = zrn::PermissionGroup(device);
    if (!group)
        return {};
    std::string hint = zrn::PermissionHint(device, *group);
    if (!bPortHintShown) {
        bPortHintShown = true;
        host.AppendLog(hint);
    }
    return hint;
}
