#include "datafolder/desk_hold.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <utility>
#include <vector>

namespace quantora {

namespace {

constexpr std::time_t kStaleAfter = 12 * 60 * 60;

std::string LocalTime(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[128];
    if (std::strftime(text, sizeof text, "%A %-d %B %Y at %H:%M", &local) == 0) return "?";
    return text;
}

// A number as the note writes it, and nothing else ("042" is no such number).
template <typename Number>
std::optional<Number> NumberIn(std::string_view text) {
    Number value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (std::to_string(value) != text) return std::nullopt;
    return value;
}

bool ProcessRuns(long process) {
    return process > 0 && (::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM);
}

std::optional<DeskHolder> ReadNote(int fd) {
    std::string bytes(4096, '\0');
    ssize_t got = ::pread(fd, bytes.data(), bytes.size(), 0);
    if (got <= 0) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(got));
    return ParseDeskHolder(bytes);
}

void WriteNote(int fd, const DeskHolder& me) {
    std::string note = EncodeDeskHolder(me);
    // The note only tells who holds the folder; the lock is what holds it.
    if (::ftruncate(fd, 0) == 0 && ::pwrite(fd, note.data(), note.size(), 0) > 0) ::fsync(fd);
}

// An open file description's own lock where the system has them, so no other opening of the
// file in this program can let it go by closing; the classic lock otherwise.
int Lock(int fd) {
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &whole) == 0) return 0;
    if (errno != EINVAL) return errno;
    whole.l_pid = 0;
    return ::fcntl(fd, F_SETLK, &whole) == 0 ? 0 : errno;
}

// The file at path is still the one open as fd: another desk did not remove it and make a new
// one between our opening and our lock.
bool StillThere(int fd, const std::string& path) {
    struct stat open {
    }, named{};
    return ::fstat(fd, &open) == 0 && ::stat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

}  // namespace

DeskHolder ThisDesk() {
    DeskHolder me;
    if (const passwd* user = ::getpwuid(::getuid()); user != nullptr) me.user = user->pw_name;
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) == 0) me.computer = host;
    me.process = static_cast<long>(::getpid());
    me.since = std::time(nullptr);
    return me;
}

// One field a line; names hold no line breaks.
std::string EncodeDeskHolder(const DeskHolder& holder) {
    return "quantora desk 1\n" + holder.user + "\n" + holder.computer + "\n" +
           std::to_string(holder.process) + "\n" + std::to_string(holder.since) + "\n";
}

std::optional<DeskHolder> ParseDeskHolder(std::string_view bytes) {
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        std::size_t end = bytes.find('\n');
        if (end == std::string_view::npos) return std::nullopt;
        lines.push_back(bytes.substr(0, end));
        bytes.remove_prefix(end + 1);
    }
    if (lines.size() != 5 || lines[0] != "quantora desk 1") return std::nullopt;
    auto process = NumberIn<long>(lines[3]);
    auto since = NumberIn<long long>(lines[4]);
    if (!process || !since) return std::nullopt;
    return DeskHolder{std::string(lines[1]), std::string(lines[2]), *process,
                      static_cast<std::time_t>(*since)};
}

bool NoteIsStale(const DeskHolder& note, const std::string& thisComputer, std::time_t now,
                 bool processRuns) {
    if (note.computer == thisComputer && !processRuns) return true;
    return now - note.since > kStaleAfter;
}

std::string HeldElsewhereMessage(const std::string& folder, const std::optional<DeskHolder>& by) {
    std::string shown = folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder;
    std::string who =
        by ? by->user + " on the computer " + by->computer + " since " + LocalTime(by->since)
           : "another computer";
    return "The data folder " + shown + " is in use by " + who +
           ".\n\nOnly one computer at a time can work in it. Quantora can open it once it is "
           "closed there.";
}

std::string NoLocksMessage(const std::string& folder) {
    return "The disk of the data folder " + folder.substr(0, folder.size() - 1) +
           " cannot lock files, so Quantora cannot be sure that no other computer works in it. "
           "It notes that this computer does, and other computers will see the note.";
}

HoldLook LookAtHold(const std::string& folder, const std::string& thisComputer) {
    int fd = ::open((folder + kDeskHoldFileName).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    HoldLook look{true, ReadNote(fd)};
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    int asked = ::fcntl(fd, F_OFD_GETLK, &whole);
    if (asked != 0 && errno == EINVAL) {
        whole.l_pid = 0;
        asked = ::fcntl(fd, F_GETLK, &whole);
    }
    ::close(fd);
    if (asked == 0) {
        look.held = whole.l_type != F_UNLCK;
    } else {
        // No locks on this disk: the note alone says whether a desk works here.
        look.held = look.holder && !NoteIsStale(*look.holder, thisComputer, std::time(nullptr),
                                                ProcessRuns(look.holder->process));
    }
    return look;
}

DeskHold::DeskHold(DeskHold&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), folder_(std::move(other.folder_)) {}

DeskHold& DeskHold::operator=(DeskHold&& other) noexcept {
    if (this != &other) {
        Release();
        fd_ = std::exchange(other.fd_, -1);
        folder_ = std::move(other.folder_);
    }
    return *this;
}

DeskHold::Attempt DeskHold::Take(const std::string& folder, const DeskHolder& me) {
    if (Holds() && folder == folder_) return {Outcome::Held, std::nullopt};
    Release();
    std::string path = folder + kDeskHoldFileName;
    for (int tries = 0; tries < 8; ++tries) {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) return {Outcome::NotPossible, std::nullopt};
        int error = Lock(fd);
        if (error == 0 && !StillThere(fd, path)) {
            ::close(fd);
            continue;
        }
        if (error == 0) {
            WriteNote(fd, me);
            fd_ = fd;
            folder_ = folder;
            return {Outcome::Held, std::nullopt};
        }
        std::optional<DeskHolder> note = ReadNote(fd);
        if (error == EAGAIN || error == EACCES) {
            ::close(fd);
            return {Outcome::HeldElsewhere, note};
        }
        // No locks on this disk: the note alone says who works here.
        bool ours = note && note->computer == me.computer && note->process == me.process;
        if (note && !ours &&
            !NoteIsStale(*note, me.computer, std::time(nullptr), ProcessRuns(note->process))) {
            ::close(fd);
            return {Outcome::HeldElsewhere, note};
        }
        WriteNote(fd, me);
        fd_ = fd;
        folder_ = folder;
        return {Outcome::HeldWithoutLocks, std::nullopt};
    }
    return {Outcome::HeldElsewhere, std::nullopt};
}

void DeskHold::Release() {
    if (fd_ < 0) return;
    ::unlink((folder_ + kDeskHoldFileName).c_str());
    ::close(fd_);
    fd_ = -1;
    // A folder our move emptied held only the note: it goes now, as the move meant it to.
    ::rmdir(folder_.substr(0, folder_.size() - 1).c_str());
    folder_.clear();
}

}  // namespace quantora
