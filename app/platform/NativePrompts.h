#pragma once
// The real message box, popup menu and file dialog, as each backend shows
// them. platform/Prompts.cpp calls these only when no test hook answers in
// place of the user; panels call MessageBox, TrackPopupMenu and ChooseFile.
#include "platform/FileDialog.h"
#include "platform/Menu.h"
#include "platform/MessageBox.h"

int ShowMessageBox(CWnd* owner, const MessageBoxRequest& request);
unsigned ShowPopupMenu(CWnd* owner, const PopupMenuRequest& request);
std::optional<std::string> ShowFileDialog(CWnd* owner, const FileDialogRequest& request);
