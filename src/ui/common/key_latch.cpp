#include "ui/common/key_latch.h"

#include <QKeyEvent>

namespace quantora {

namespace {

// One keyboard per program: the keys held down now, by key code.
QSet<int>& HeldKeys() {
    static QSet<int> held;
    return held;
}

}  // namespace

void KeyLatch::Set() { latched_ = HeldKeys(); }

bool KeyLatch::Take(const QKeyEvent& key) {
    if (!latched_.contains(key.key())) return false;
    if (key.type() == QEvent::KeyRelease) {
        if (!key.isAutoRepeat()) latched_.remove(key.key());
        return true;
    }
    if (key.isAutoRepeat()) return true;
    latched_.remove(key.key());
    return false;
}

void KeyLatch::Track(const QKeyEvent& key) {
    if (key.key() == 0 || key.isAutoRepeat()) return;
    if (key.type() == QEvent::KeyPress)
        HeldKeys().insert(key.key());
    else if (key.type() == QEvent::KeyRelease)
        HeldKeys().remove(key.key());
}

}  // namespace quantora
