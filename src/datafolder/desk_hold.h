// One desk at a time in a data folder. A data folder on the office file server can be used by
// several computers, but two programs working in it at once would overwrite each other's
// working copy of a job and could both take the same free slot for a new group. So a desk
// holds the folder while it works in it: a lock on a file of our own there, which the system
// frees however the program ends (a crash, a kill, a power cut of that desk), with a note in
// the file of who holds it, so another desk can be told who and since when.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace quantora {

inline constexpr const char* kDeskHoldFileName = ".quantora-desk";

// Who holds a data folder.
struct DeskHolder {
    std::string user;
    std::string computer;
    long process = 0;
    std::time_t since = 0;

    bool operator==(const DeskHolder&) const = default;
};

// This program on this computer, as of now.
DeskHolder ThisDesk();

// The note's bytes, and back; nothing for a note that cannot be read as one.
std::string EncodeDeskHolder(const DeskHolder& holder);
std::optional<DeskHolder> ParseDeskHolder(std::string_view bytes);

// Where the file system offers no locks, the note alone tells who holds the folder. A note is
// taken as left behind when it is this computer's and its program no longer runs, or when it
// is more than twelve hours old: a desk works in the folder for a day, not overnight.
bool NoteIsStale(const DeskHolder& note, const std::string& thisComputer, std::time_t now,
                 bool processRuns);

// The words that tell the user who holds the folder (ending in "/").
std::string HeldElsewhereMessage(const std::string& folder, const std::optional<DeskHolder>& by);

// The words said once when a folder's file system cannot lock files.
std::string NoLocksMessage(const std::string& folder);

// Whether another desk holds folder (ending in "/") now, and who, found without writing
// anything: a desk that only reads the folder watches it so. Free when no note is there, when
// nothing locks it (its desk has ended, however it ended), or where the disk has no locks,
// when its note is left behind.
struct HoldLook {
    bool held = false;
    std::optional<DeskHolder> holder;  // as the note says, when it can be read
};
HoldLook LookAtHold(const std::string& folder, const std::string& thisComputer);

class DeskHold {
  public:
    enum class Outcome {
        Held,              // this desk holds the folder now
        HeldWithoutLocks,  // held by the note alone: the file system offers no locks
        HeldElsewhere,     // another desk holds it
        NotPossible,       // the folder cannot take the lock file (missing, read-only)
    };
    struct Attempt {
        Outcome outcome;
        std::optional<DeskHolder> holder;  // who holds it, when another desk does
    };

    DeskHold() = default;
    ~DeskHold() { Release(); }
    DeskHold(DeskHold&& other) noexcept;
    DeskHold& operator=(DeskHold&& other) noexcept;
    DeskHold(const DeskHold&) = delete;
    DeskHold& operator=(const DeskHold&) = delete;

    // Tries to hold folder (ending in "/") for me; a folder held already is let go first
    // unless it is the same one. Writes nothing in the folder unless it holds it.
    Attempt Take(const std::string& folder, const DeskHolder& me);
    // Lets the folder go and removes the note, so the next desk finds it free.
    void Release();
    bool Holds() const { return fd_ >= 0; }
    const std::string& Folder() const { return folder_; }

  private:
    int fd_ = -1;
    std::string folder_;
};

}  // namespace quantora
