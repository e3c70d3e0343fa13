// The About box, the program's version and the maker's web page.
#include "shell/AboutBox.h"
#include "platform/Shell.h"
#include "platform/VersionInfo.h"
#include "platform/Win.h"
#include "resources/Resource.h"
#include "resources/Resources.h"
#include "shell/ZRNcomDlg.h"

#include <cstdlib>

CZRNcomAbout::CZRNcomAbout(CWnd* parent) : CDialog(kAboutDialogTemplate, parent) {}

void CZRNcomAbout::DoDataExchange(DataExchange& dx) {
    dx.Text(IDC_ABOUT_VERSION, strVersion);
}

Bitmap CZRNcomAbout::LoadImageResource(int id, Size size) const {
    return LoadIconPixmap(id, size);
}

int OpenUrl(std::string_view address, int show) {
    // The fallback stands in for the registered browser of web pages; it also
    // runs when the desktop opener starts but fails.
    const std::string browser = WebBrowserCommand();
    const std::string fallback =
        browser.empty() ? std::string() : zrn::BrowserCommand(browser, address);
    const int shellResult = ShellExecuteOpen(address, show, fallback);
    if (shellResult > 32 || fallback.empty())
        return shellResult;
    return WinExec(fallback, show);
}

void CZRNcomDlg::ReadFileVersion() {
    if (!options.strFileVersion.empty())
        return;
    options.strFileVersion =
        zrn::ReadFileVersion(zrn::ProgramVersionBlock(), zrn::UserDefaultLangId());
}

void CZRNcomDlg::OnAboutBox() {
    CZRNcomAbout about(this);
    about.strVersion = "QUORVANEX ZRNcom Version " + options.strFileVersion;
    about.DoModal();
}

void CZRNcomDlg::OnStnClickedBanner() {
    OpenUrl(kMakerWebPage, win::SW_SHOW);
}
