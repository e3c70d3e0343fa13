#pragma once
// The About box: the program's version line, the maker's web page and notice.
#include "platform/Dialog.h"

#include <string>
#include <string_view>

class CZRNcomAbout : public CDialog {
public:
    explicit CZRNcomAbout(CWnd* parent = nullptr);
    std::string strVersion; // shown in the version line

protected:
    void DoDataExchange(DataExchange& dx) override;
    Bitmap LoadImageResource(int id, Size size) const override;
};

// Opens a web address: the desktop's opener, else the BROWSER command; returns
// the opener's result or the command's.
int OpenUrl(std::string_view address, int show);
