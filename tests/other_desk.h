// Another computer's desk for tests: a process of its own that holds a data folder until it is
// told to close or is killed, as a program on another computer would.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "datafolder/desk_hold.h"

namespace quantora::testing {

inline DeskHolder Desk(const char* computer, long process) {
    return {"anne", computer, process, std::time(nullptr)};
}

// Holds the folder from its own process until Close (a byte on a pipe: it lets go as the
// program does when it closes) or Kill (the note stays, the lock goes); Held says
// whether it got it. It touches nothing but the folder and the pipes.
class OtherDesk {
  public:
    explicit OtherDesk(const std::string& folder) {
        int held[2], go[2];
        if (::pipe(held) != 0 || ::pipe(go) != 0) std::abort();
        pid_ = ::fork();
        if (pid_ == 0) {
            // Only the test holds the far ends: should it die, this desk ends too.
            ::close(held[0]);
            ::close(go[1]);
            DeskHold hold;
            DeskHolder me = Desk("front-desk", static_cast<long>(::getpid()));
            char answer = hold.Take(folder, me).outcome == DeskHold::Outcome::Held ? 'y' : 'n';
            if (::write(held[1], &answer, 1) != 1) ::_exit(2);
            char byte;
            if (::read(go[0], &byte, 1) < 0) ::_exit(2);
            hold.Release();  // as the program does when it closes
            ::_exit(0);
        }
        ::close(held[1]);
        ::close(go[0]);
        char answer = 0;
        if (::read(held[0], &answer, 1) != 1) answer = 0;
        ::close(held[0]);
        held_ = answer == 'y';
        go_ = go[1];
    }
    ~OtherDesk() {
        Kill();
        ::close(go_);
    }
    bool Held() const { return held_; }
    pid_t Pid() const { return pid_; }
    void Close() {
        if (::write(go_, "x", 1) != 1) std::abort();
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    void Kill() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

  private:
    pid_t pid_ = -1;
    int go_ = -1;
    bool held_ = false;
};

}  // namespace quantora::testing
