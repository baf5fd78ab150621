// The help panel every main window has: "Hide Help Panel" and "Show Help Panel" in its Help
// menu with "Documentation" after them, the setting that remembers the choice across runs,
// and the change of the window's size that showing or hiding the panel makes. The checked
// item is disabled, so the panel cannot be hidden twice.
#pragma once

#include <QObject>
#include <QRect>
#include <cstdint>
#include <functional>

#include "store/settings.h"

class QAction;
class QFrame;
class QMenu;
class QMenuBar;

namespace quantora {

class Session;

// A frame for a window's help texts, named name, at where, filled with the pale yellow of
// every help panel.
QFrame* NewHelpFrame(QWidget* parent, const char* name, QRect where);

// The Qt object names of a window's Help menu items.
struct HelpItemNames {
    const char* hide;
    const char* show;
};

class HelpPanel : public QObject {
  public:
    // shows the panel (true) or hides it and resizes the window to match.
    using Apply = std::function<void(bool shown)>;

    // Adds the "Help" menu (HM) to bar, bound to the setting. Apply runs at once when the
    // setting says the panel starts hidden.
    HelpPanel(QMenuBar* bar, Session& session, std::int16_t Settings::*setting, HelpItemNames names,
              Apply apply);

    QMenu* Menu() const { return menu_; }
    bool Shown() const;
    // The user's choice from the menu: the setting written, the window changed.
    void Set(bool shown);

  private:
    void UpdateItems();

    Session& session_;
    std::int16_t Settings::*setting_;
    Apply apply_;
    QMenu* menu_;
    QAction* hide_;
    QAction* show_;
};

// Opens the documentation page with the desktop's browser (Documentation, F1).
void OpenDocumentation(const Session& session);

}  // namespace quantora
