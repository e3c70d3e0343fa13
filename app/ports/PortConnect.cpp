// Finding the device's port: the automatic scan step and "&ZRN Connect".
#include "platform/DebugOutput.h"
#include "platform/LinkWindow.h"
#include "platform/Win.h"
#include "ports/PortList.h"
#include "protocol/Catalogue.h"
#include "protocol/LinkApi.h"
#include "shell/ZRNcomDlg.h"

void CZRNcomDlg::ScanNextPort() {
    // Nothing goes out until this step's open has succeeded.
    bLinkOpen = 0;
    const zrn::ScanChoice choice = zrn::ChoosePortToScan(zrn::SystemSerialPorts(), nPortScanIndex);
    if (choice.port) {
        const std::string definition = zrn::PortDefinition(*choice.port);
        Link().close();
        bLinkOpen = Link().open(&LinkWindow::Instance(), definition.c_str());
        DebugTrace("ZRNcom/ScanNextPort; %s, open = %d\n", definition.c_str(), bLinkOpen);
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
    bLinkOpen = Link().open(&LinkWindow::Instance(), openZrn.strPortDefinition.c_str());
    DebugTrace("ZRNcom/OnZrnConnect; %s, open = %d\n", openZrn.strPortDefinition.c_str(),
               bLinkOpen);
    // 3. Every status value; the schedule table is not read here.
    for (const std::string& command : zrn::FullReadSequence())
        SendCommand(command);
}
