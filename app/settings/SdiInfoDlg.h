#pragma once
// "SDI Information": the device's SDI-12 identification fields, writable only
// when the program was started with "-EDIT_SDI_INFO".
#include "model/Catalogue.h"
#include "platform/Dialog.h"
#include "resources/Resource.h"

#include <string>

class CSdiInfoDlg : public CDialog {
public:
    explicit CSdiInfoDlg(CWnd* parent = nullptr);

    // Loads the members into the boxes afresh on every run.
    int DoModal();

    bool IsModified() const;
    void RevertChanges();
    zrn::SdiIdent Ident() const;
    void SetIdent(const zrn::SdiIdent& ident); // the members only, never the boxes

    std::string strVersion;
    std::string strMfgName;
    std::string strMfgModel;
    std::string strMfgVersion;
    std::string strMfgOptional;
    int bEditable = 0;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    bool OnMessage(Notify& n) override;
    void OnOK() override;

private:
    void OnBnClickedOk();
    void OnBnClickedCancel();

    // The members as they were when the dialog opened.
    zrn::SdiIdent snapshot;
    bool bInitialised = false;
};
