#pragma once
// Names for the screen reader of the main dialog's controls that have no label
// of their own to take one from.
class CDialog;

void NameUnlabelledControls(CDialog& dialog);
