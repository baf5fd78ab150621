// One look for every window: Qt's device-independent pixels give every window and control
// the same scale factor and keep frames at their real thickness; ScaleForm gives every
// control the one font face, upright.
#pragma once

#include <QString>

class QWidget;

namespace quantora {

// The one font face of the program.
QString UiFontFamily();

// Called by each window before it is first shown. The management window keeps its own
// font; every other window takes the face too.
void ScaleForm(QWidget* window, bool isManagementWindow = false);

// Lengths given in twips (1,440 to the inch) in logical pixels: 15 twips to the pixel.
constexpr int Twips(int twips) { return twips / 15; }

}  // namespace quantora
