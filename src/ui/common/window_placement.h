// Where a window opens: centred on the screen of the window it belongs to, so a user with
// two screens finds it where they are working, and remembered as the monitor offsets.
#pragma once

class QWidget;

namespace quantora {

class Session;

// Takes the monitor offsets from where the window stands on the desktop.
void TakeMonitorOffset(Session& session, const QWidget* from);

// Centres the window on the screen of owner, shifted by the session's monitor offsets.
void CentreOnScreenOf(QWidget* window, const QWidget* owner, const Session& session);

}  // namespace quantora
