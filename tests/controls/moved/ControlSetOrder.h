#pragma once

#include <QStringList>

// The fifteen classes of the control set in the order of its table.
inline const QStringList ControlSetInTableOrder{
    "TMultiSwitch",   "TSlider",        "TMovedLabel",      "TMovedEdit",     "TMovedMemo",
    "TMovedCheckBox", "TMovedRadioButton", "TMovedListBox", "TMovedComboBox", "TMovedGroupBox",
    "TMovedRadioGroup", "TMovedPanel",  "TMovedImage",      "TColorsBox",     "TLabel3D"};
