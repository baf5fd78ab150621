#pragma once
// What the command line asks of a start. Quantora opens no file named on its command line:
// it answers --help and --version without a window, takes --read-only for a desk that only
// looks into a data folder another works in, lets the options of the window system
// through to Qt, and refuses anything else with one line, so that a mistyped launcher or
// script fails loudly instead of opening a window that ignores what it was asked.
#include <string>
#include <vector>

namespace quantora {

enum class StartRequest { Windows, Usage, Version, Refused };

struct CommandLine {
    StartRequest request = StartRequest::Windows;
    // --read-only: the data folder is opened to read only, whether another desk holds it or not.
    bool readOnly = false;
    // For Refused: the one line for standard error, without its line end.
    std::string refusal;
};

// args: the arguments after the program's name, as given.
CommandLine ReadCommandLine(const std::vector<std::string>& args);

// The text of --help; the folders are those this copy uses (each ending in "/").
std::string UsageText(const std::string& defaultFolder, const std::string& resourceFolder);

// The text of --version: the name and the version of the build.
std::string VersionText(const std::string& version);

}  // namespace quantora
