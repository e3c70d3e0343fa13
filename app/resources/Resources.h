#pragma once
// The program's resources: dialog templates, popup menus, strings, pictures.
#include "platform/Dialog.h"
#include "platform/Menu.h"

#include <string_view>

extern const DialogTemplate kMainDialogTemplate;  // IDD_ZRNCOM_DIALOG
extern const DialogTemplate kAboutDialogTemplate; // IDD_ABOUTBOX

// Menu 159, 160 or 161; null for any other identifier.
const MenuTemplate* LoadMenu(int id);
// A string of the string table; empty when there is none.
std::string_view LoadString(int id);

// Our own artwork, drawn in code.
Icon ProgramIcon();                   // 128, at 32 x 32 and 16 x 16
Bitmap LoadBitmap(int id, Size size); // 133, 134 (magenta background), 158
Bitmap LoadIconPixmap(int id, Size size);

inline constexpr std::string_view kMakerWebPage = "https://www.quorvanex.example/zrn";
inline constexpr std::string_view kMakerLegalNotice = "Copyright (C) 2026 QUORVANEX";
