// The key latch (IgnoreNextKey). A dialog or message box often closes on the press of a key,
// and the key's release then reaches the window beneath, where it would act a second time.
// The latch discards that release and only that: a dialog closed with the mouse, or by a key
// already released, latches nothing, so no keystroke the user makes afterwards is lost.
#pragma once

#include <QSet>

class QKeyEvent;

namespace quantora {

class KeyLatch {
  public:
    // Latches the keys held down at this moment. Set when a message box or dialog closes.
    void Set();
    // True while the release of a latched key is still to come.
    bool IsSet() const { return !latched_.isEmpty(); }
    // True when the key event is to be discarded: the release of a latched key (which ends
    // the latch for it) or a repeat of its press. A fresh press of a latched key means its
    // release went elsewhere: the latch ends for it and the press counts like any other.
    bool Take(const QKeyEvent& key);
    void Clear() { latched_.clear(); }

    // Follows which keys are held down. Called for every key event a control is sent,
    // before anything else sees it.
    static void Track(const QKeyEvent& key);

  private:
    QSet<int> latched_;
};

}  // namespace quantora
