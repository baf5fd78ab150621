// A window sees every key before its controls do. The key preview of a window gets each key
// press and release meant for the window or any of its controls, once, before they do:
// first the key latch is honoured (the release of the key that closed a dialog or message is
// discarded), then F10 opens the window's first menu, then the window's own handler decides.
// Keys for an open menu go to the menu: menus are windows of their own and the menu bar is
// left alone. Only Esc on a menu of the menu bar is seen first: it closes the menu and the
// keyboard is back in the control the user was in.
#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

namespace quantora {

class KeyLatch;

class KeyPreview : public QObject {
  public:
    // receiver is the control the key was sent to; true when the handler has dealt with the
    // key and no control is to see it.
    using Handler = std::function<bool(QWidget* receiver, QKeyEvent* key)>;

    // Previews the keys of window for as long as the window lives.
    KeyPreview(QWidget* window, KeyLatch& keys, Handler handler);
    ~KeyPreview() override;

    // Called by the application for every event before anything sees it; true when the
    // event was a key that a preview consumed.
    static bool Dispatch(QObject* receiver, QEvent* event);

  private:
    bool Preview(QWidget* receiver, QKeyEvent* key);

    QWidget* window_;
    KeyLatch& keys_;
    Handler handler_;
};

}  // namespace quantora
