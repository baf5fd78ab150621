#include "ui/common/key_preview.h"

#include <QHash>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include "ui/common/key_latch.h"

namespace quantora {

namespace {

QHash<QWidget*, KeyPreview*>& Previews() {
    static QHash<QWidget*, KeyPreview*> previews;
    return previews;
}

// F10 opens the first menu of the menu bar, as on every Linux desktop; the arrow keys then
// move through the menus. The focus stays where it was, so Esc on the menu gives the
// keyboard straight back to the control the user was in.
bool OpenFirstMenu(QWidget* window) {
    auto* bar = window->findChild<QMenuBar*>();
    if (bar == nullptr || bar->actions().isEmpty()) return false;
    bar->setActiveAction(bar->actions().first());
    return true;
}

// Esc on a menu of the menu bar closes it and gives the keyboard back to the control the
// user was in. Left to itself the menu bar would keep the keyboard after the menu closed,
// showing nothing, and the next keys would seem lost.
bool CloseMenuOnEscape(QWidget* widget, QKeyEvent* key) {
    auto* menu = qobject_cast<QMenu*>(widget);
    if (menu == nullptr || key->type() != QEvent::KeyPress || key->key() != Qt::Key_Escape)
        return false;
    for (QObject* user : menu->menuAction()->associatedObjects()) {
        if (qobject_cast<QMenuBar*>(user)) {
            menu->hide();
            return true;
        }
    }
    return false;
}

}  // namespace

KeyPreview::KeyPreview(QWidget* window, KeyLatch& keys, Handler handler)
    : QObject(window), window_(window), keys_(keys), handler_(std::move(handler)) {
    Previews().insert(window, this);
}

KeyPreview::~KeyPreview() { Previews().remove(window_); }

bool KeyPreview::Dispatch(QObject* receiver, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    // A key reaches the window first and then its control: it is followed once, at the control.
    if (!receiver->isWidgetType()) return false;
    KeyLatch::Track(*static_cast<QKeyEvent*>(event));
    auto* widget = static_cast<QWidget*>(receiver);
    if (qobject_cast<QMenuBar*>(widget)) return false;
    if (CloseMenuOnEscape(widget, static_cast<QKeyEvent*>(event))) return true;
    KeyPreview* preview = Previews().value(widget->window());
    return preview && preview->Preview(widget, static_cast<QKeyEvent*>(event));
}

bool KeyPreview::Preview(QWidget* receiver, QKeyEvent* key) {
    if (keys_.Take(*key)) return true;
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::NoModifier) {
        if (key->type() == QEvent::KeyRelease) return true;
        if (OpenFirstMenu(window_)) return true;
    }
    return handler_ && handler_(receiver, key);
}

}  // namespace quantora
