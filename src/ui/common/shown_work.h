// Long work that the windows show while it runs: pricing a costing, writing an import. On a
// desktop a window is only on the screen with its picture once the program has answered the
// desktop's request to paint it, and long work on the window thread answers nothing until it
// ends: its progress windows stay blank and a menu closed before it stays drawn. So the work
// runs on a worker thread, and the window thread meanwhile paints what the desktop uncovers
// and what the work reports. The user's keys and clicks wait until the work is over, and so do
// the program's timers, so nothing the user or the program asks for runs in the middle of it.
#pragma once

#include <functional>

namespace quantora {

namespace ShownWork {

// Runs work on a worker thread and returns once it is over, throwing again what it threw.
// Meanwhile this thread, the window thread, paints, runs what the work hands it, and calls
// eachTurn about every hundredth of a second, so that a bar can catch up with the work. Keys,
// clicks and timers are held back and come after the work.
void Run(const std::function<void()>& work, const std::function<void()>& eachTurn = {});

// Runs call on the window thread and returns once it has run, throwing again what it threw.
// From the work of Run, and at once from the window thread itself.
void OnWindows(const std::function<void()>& call);

// Hands call to the window thread and returns at once: for what only shows, which the work
// need not wait for. Calls run in the order they were handed, all of them before Run returns;
// what one throws is not the work's to know. At once on the window thread itself.
void Post(std::function<void()> call);

}  // namespace ShownWork

}  // namespace quantora
