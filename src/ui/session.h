// The state of one run of the program, shared by every window: where the data lives, the
// settings record, the job open in the costing sheet, the job clipboard, the key latches,
// and the services every window uses. There is one Session; app makes it and hands it to
// the windows by reference.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "costing/pricing.h"
#include "datafolder/desk_hold.h"
#include "manage/job_clipboard.h"
#include "manage/name_index.h"
#include "services/monitor_offset.h"
#include "store/data_folder.h"
#include "store/settings.h"
#include "ui/common/key_latch.h"

namespace quantora {

class Dialogs;
class Sounds;

class Session {
  public:
    Session(std::string programFolder, DataPaths paths, quantora::Settings settings, KeyLatch& keys,
            Sounds& sounds, Dialogs& dialogs)
        : ProgramFolder(std::move(programFolder)),
          Paths(std::move(paths)),
          Keys(keys),
          sounds(sounds),
          dialogs(dialogs),
          settings_(std::move(settings)) {}

    // ping.wav and Help/ lie here; ends in "/".
    const std::string ProgramFolder;
    DataPaths Paths;

    const quantora::Settings& Settings() const { return settings_; }
    // Sets the data folder up again from Data.dir after it has moved or its content has been
    // replaced, and empties the job clipboard, whose job was in the data as it was. The
    // current group and price list stay as they were, even where the new data has no such
    // slot (nothing is then selected). The folder Data.dir named when that could not be
    // reached (the default folder is used instead).
    std::optional<std::string> SetUpDataFolderAgain();
    // Changes one field of the settings record and writes Kiru.ini when it changed (a
    // reading desk's own settings instead).
    void ChangeSetting(std::int16_t quantora::Settings::*field, std::int16_t value);
    // Runs a core operation that changes the settings and writes them itself (selecting,
    // making or deleting a group or price list).
    template <typename Operation>
    decltype(auto) Apply(Operation&& operation) {
        return std::forward<Operation>(operation)(std::as_const(Paths), settings_);
    }

    // The job open in the costing sheet, and the two together as pricing and saving take it.
    std::string CurrentJobName;
    std::string CurrentJobPath;
    OpenJob CurrentJob() const { return {CurrentJobName, CurrentJobPath}; }
    JobClipboard Clipboard;
    // This desk's hold on the data folder, for as long as it works there.
    DeskHold Hold;
    // A desk that only reads the folder while another works in it (Paths name its own
    // folders then): every writing action is refused, and what it saw of the hold as it
    // opened the folder is in its caption.
    bool ReadOnly() const { return Paths.ReadOnly(); }
    HoldLook ReadOnlyHold;
    // The caption of the main windows for the clock text.
    std::string Caption(const std::string& clockText) const;
    // Makes group or price list slot the current one, as a click on it does.
    void SelectEntry(NameIndex index, std::int16_t slot);
    // The reading desk now holds the folder: it works there from now on, its own working
    // folder gone. The folder Data.dir named when it could not be reached, as
    // SetUpDataFolderAgain says.
    std::optional<std::string> WorkInDataFolder();
    // The item picker's filter and the texts typed for each, kept for the whole run.
    struct {
        int choice = 0;
        std::array<std::string, 4> texts;
    } PickerFilters;

    // The file of the program's own settings (never Kiru.ini); none are remembered while
    // it is empty.
    std::string OwnSettingsFile;

    // The key latch the dialogs set and every window's key preview honours.
    KeyLatch& Keys;
    // One-shot latch: a menu popped up from a list has been prepared already.
    bool SkipMenuOpen = false;
    MonitorOffset Offset;

    Sounds& sounds;
    Dialogs& dialogs;

    // The documentation page, Help/1.htm of the program folder.
    std::string DocumentationPage() const { return ProgramFolder + "Help/1.htm"; }

  private:
    // A reading desk keeps its settings in the program's own settings file.
    void KeepReadOnlySettings();

    quantora::Settings settings_;
};

}  // namespace quantora
