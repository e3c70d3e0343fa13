#pragma once
// The port selection dialog behind "&ZRN Connect": the serial ports the system
// lists, sorted, then the network ports used last; or a port typed in.
#include "platform/Dialog.h"
#include "resources/Resource.h"

#include <string>
#include <string_view>

class COpenZrn : public CDialog {
public:
    explicit COpenZrn(CWnd* parent = nullptr);

    // Fills the list afresh on every run, as each modal run starts a new window.
    int DoModal();

    void OnSelchangePortList();

    // Puts a network port first among the recent ports; other names are not kept.
    static void RememberNetworkPort(std::string_view port);

    std::string strPortDefinition;
    std::string strTypedPort; // when not empty, the port chosen

protected:
    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnOK() override;
    bool OnMessage(Notify& n) override;

private:
    void TakeSelection();
    void AddString(const std::string& text);

    bool bInitialised = false;
};
