#pragma once
// The port selection dialog behind "&ZRN Connect": the serial ports the system
// lists, sorted, and the definition of the one selected.
#include "platform/Dialog.h"
#include "resources/Resource.h"

#include <string>

class COpenZrn : public CDialog {
public:
    explicit COpenZrn(CWnd* parent = nullptr);

    // Fills the list afresh on every run, as each modal run starts a new window.
    int DoModal();

    void OnSelchangePortList();

    std::string strPortDefinition;

protected:
    bool OnInitDialog() override;
    bool OnMessage(Notify& n) override;

private:
    void TakeSelection();
    void AddString(const std::string& text);

    bool bInitialised = false;
};
