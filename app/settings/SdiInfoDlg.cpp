#include "settings/SdiInfoDlg.h"

#include "platform/Win.h"
#include "model/SdiRules.h"

#include <array>
#include <cstddef>

using namespace win;

namespace {

constexpr ControlTemplate kControls[] = {
    {IDC_STATIC, ControlKind::Static, "Version", 10, 12, 50, 8},
    {IDC_SDI_VERSION, ControlKind::Edit, "", 62, 10, 70, 12},
    {IDC_STATIC, ControlKind::Static, "(2 Chars)", 138, 12, 50, 8},
    {IDC_STATIC, ControlKind::Static, "Mfg Name", 10, 30, 50, 8},
    {IDC_MFG_NAME, ControlKind::Edit, "", 62, 28, 70, 12},
    {IDC_STATIC, ControlKind::Static, "(8 Chars)", 138, 30, 50, 8},
    {IDC_STATIC, ControlKind::Static, "Mfg Model", 10, 48, 50, 8},
    {IDC_MFG_MODEL, ControlKind::Edit, "", 62, 46, 70, 12},
    {IDC_STATIC, ControlKind::Static, "(6 Chars)", 138, 48, 50, 8},
    {IDC_STATIC, ControlKind::Static, "Mfg Version", 10, 66, 50, 8},
    {IDC_MFG_VERSION, ControlKind::Edit, "", 62, 64, 70, 12},
    {IDC_STATIC, ControlKind::Static, "(3 Chars)", 138, 66, 50, 8},
    {IDC_STATIC, ControlKind::Static, "Mfg Optional", 10, 84, 50, 8},
    {IDC_MFG_OPTIONAL, ControlKind::Edit, "", 62, 82, 70, 12},
    {IDC_STATIC, ControlKind::Static, "(13 Chars)", 138, 84, 50, 8},
    {IDC_SDI_INFO_OK, ControlKind::Button, "OK", 42, 106, 50, 14},
    {IDC_SDI_INFO_CANCEL, ControlKind::Button, "Cancel", 104, 106, 50, 14},
};
constexpr DialogTemplate kTemplate{IDD_SDI_INFO, "SDI Information", 196, 128, "MS Shell Dlg", 8,
                                   kControls};

struct Field {
    int id;
    std::string CSdiInfoDlg::*member;
    std::size_t width;
};
constexpr std::array<Field, 5> kFields{{
    {IDC_SDI_VERSION, &CSdiInfoDlg::strVersion, zrn::SDI_VERSION_WIDTH},
    {IDC_MFG_NAME, &CSdiInfoDlg::strMfgName, zrn::SDI_MFG_NAME_WIDTH},
    {IDC_MFG_MODEL, &CSdiInfoDlg::strMfgModel, zrn::SDI_MFG_MODEL_WIDTH},
    {IDC_MFG_VERSION, &CSdiInfoDlg::strMfgVersion, zrn::SDI_MFG_VERSION_WIDTH},
    {IDC_MFG_OPTIONAL, &CSdiInfoDlg::strMfgOptional, zrn::SDI_MFG_OPTIONAL_WIDTH},
}};

} // namespace

CSdiInfoDlg::CSdiInfoDlg(CWnd* parent) : CDialog(kTemplate, parent) {}

int CSdiInfoDlg::DoModal() {
    if (bInitialised)
        OnInitDialog();
    return CDialog::DoModal();
}

bool CSdiInfoDlg::OnInitDialog() {
    bInitialised = true;
    CDialog::OnInitDialog();
    snapshot = Ident();
    for (const Field& field : kFields)
        SetReadOnly(field.id, bEditable == 0);
    return true;
}

void CSdiInfoDlg::DoDataExchange(DataExchange& dx) {
    if (!dx.Saving()) {
        for (const Field& field : kFields) {
            LimitText(field.id, static_cast<int>(field.width));
            dx.Text(field.id, this->*field.member);
        }
        return;
    }
    // Every box is checked before any is stored, so Cancel after a refusal
    // leaves all five members as they were.
    std::array<std::string, kFields.size()> texts;
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        texts[i] = GetDlgItemText(kFields[i].id);
        if (const auto refusal = zrn::IdentFieldRefusal(texts[i], kFields[i].width)) {
            dx.Refuse(kFields[i].id, *refusal);
            return;
        }
    }
    for (std::size_t i = 0; i < kFields.size(); ++i)
        this->*kFields[i].member = texts[i];
}

bool CSdiInfoDlg::OnMessage(Notify& n) {
    static constexpr EventEntry<CSdiInfoDlg> events[] = {
        {IDC_SDI_INFO_OK, BN_CLICKED, &CSdiInfoDlg::OnBnClickedOk},
        {IDC_SDI_INFO_CANCEL, BN_CLICKED, &CSdiInfoDlg::OnBnClickedCancel},
    };
    return Dispatch<CSdiInfoDlg>(*this, events, n);
}

// Enter reaches the dialog as IDOK: the same as the OK button.
void CSdiInfoDlg::OnOK() {
    OnBnClickedOk();
}

void CSdiInfoDlg::OnBnClickedOk() {
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CSdiInfoDlg::OnBnClickedCancel() {
    EndDialog(IDCANCEL);
}

bool CSdiInfoDlg::IsModified() const {
    return Ident() != snapshot;
}

void CSdiInfoDlg::RevertChanges() {
    SetIdent(snapshot);
}

zrn::SdiIdent CSdiInfoDlg::Ident() const {
    return {strVersion, strMfgName, strMfgModel, strMfgVersion, strMfgOptional};
}

void CSdiInfoDlg::SetIdent(const zrn::SdiIdent& ident) {
    strVersion = ident.strVersion;
    strMfgName = ident.strMfgName;
    strMfgModel = ident.strMfgModel;
    strMfgVersion = ident.strMfgVersion;
    strMfgOptional = ident.strMfgOptional;
}
