// Finding the device's port: the automatic scan step and "&ZRN Connect".
#include "platform/DebugOutput.h"
#include "platform/LinkWindow.h"
#include "platform/MessageBox.h"
#include "platform/Win.h"
#include "ports/PortAccess.h"
#include "ports/PortList.h"
#include "model/Catalogue.h"
#include "protocol/LinkApi.h"
#include "shell/ZRNcomDlg.h"

void CZRNcomDlg::ScanNextPort() {
    // Nothing goes out until this step's open has succeeded.
    bLinkOpen = 0;
    const zrn::ScanChoice choice = zrn::ChoosePortToScan(zrn::SystemSerialPorts(), nPortScanIndex);
    if (choice.port) {
        const std::string definition = zrn::PortDefinition(*choice.port);
        Link().close();
        LinkReopened();
        bLinkOpen = Link().open(LinkTarget(*this), definition.c_str());
        DebugTrace("ZRNcom/ScanNextPort; %s, open = %d\n", definition.c_str(), bLinkOpen);
        if (!bLinkOpen)
            PortPermissionHint(definition); // and the scan goes on with the next port
    }
    nPortScanIndex = choice.nNextIndex;
}

void CZRNcomDlg::OnZrnConnect() {
    DebugTrace("ZRNcom/OnZrnConnect; Entry\n");
    // 1.
    if (openZrn.DoModal() != win::IDOK)
        return;
    // 2. A manual choice does not stop the scan: a silent port is left again.
    Link().close();
    LinkReopened();
    bLinkOpen = Link().open(LinkTarget(*this), openZrn.strPortDefinition.c_str());
    DebugTrace("ZRNcom/OnZrnConnect; %s, open = %d\n", openZrn.strPortDefinition.c_str(),
               bLinkOpen);
    // The operator chose this port: a refusal they can mend is worth a box.
    if (!bLinkOpen) {
        if (const std::string hint = PortPermissionHint(openZrn.strPortDefinition); !hint.empty())
            MessageBox(this, hint, {}, win::MB_OK | win::MB_ICONWARNING);
    }
    // 3. Every status value; the schedule table is not read here.
    for (const std::string& command : zrn::FullReadSequence())
        SendCommand(command);
}

// Empty unless the port exists and the user lacks the rights to it. The log box
// says it once: the scan meets the same port again every few seconds.
std::string CZRNcomDlg::PortPermissionHint(std::string_view definition) {
    const std::string device = zrn::DevicePath(definition);
    const auto group = zrn::PermissionGroup(device);
    if (!group)
        return {};
    std::string hint = zrn::PermissionHint(device, *group);
    if (!bPortHintShown) {
        bPortHintShown = true;
        AppendLog(hint);
    }
    return hint;
}
