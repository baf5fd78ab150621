// Long reading that draws nothing meanwhile starts only once the window showing that it is
// coming is on the screen: a desktop shows what a window painted only when the program turns
// back to its events, so the read waits for the painting and then for one such turn.
#pragma once

#include <functional>

class QWidget;

namespace quantora {

// Runs then once widget has painted itself next, and the program has turned to its events
// in between. Nothing runs if the widget goes before it paints.
void AfterNextPaint(QWidget* widget, std::function<void()> then);

}  // namespace quantora
