#include "app/command_line.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace quantora {

namespace {

// The window system's own options that Qt reads from the command line. A session manager
// restarts a program with -session, and a user may ask for a platform or a style.
constexpr std::array<std::string_view, 11> kQtOptionsWithValue = {
    "platform",   "platformpluginpath", "platformtheme", "plugin",          "display",
    "style",      "stylesheet",         "session",       "qwindowgeometry", "qwindowtitle",
    "qwindowicon"};
constexpr std::array<std::string_view, 4> kQtFlags = {"reverse", "nograb", "dograb", "sync"};

// "-platform" and "--platform" are the same to Qt; the bare name, or empty if arg is no option.
std::string_view OptionName(std::string_view arg) {
    if (arg.size() < 2 || arg[0] != '-') return {};
    arg.remove_prefix(arg[1] == '-' ? 2 : 1);
    return arg.substr(0, arg.find('='));
}

template <std::size_t N>
bool Among(const std::array<std::string_view, N>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

CommandLine Refuse(const std::string& line) {
    CommandLine refused;
    refused.request = StartRequest::Refused;
    refused.refusal = "quantora: " + line + " (quantora --help tells what it takes)";
    return refused;
}

}  // namespace

CommandLine ReadCommandLine(const std::vector<std::string>& args) {
    CommandLine asked;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string_view name = OptionName(arg);
        if (arg == "--help" || arg == "-h") {
            asked.request = StartRequest::Usage;
        } else if (arg == "--read-only") {
            asked.readOnly = true;
        } else if (arg == "--version") {
            if (asked.request != StartRequest::Usage) asked.request = StartRequest::Version;
        } else if (Among(kQtOptionsWithValue, name)) {
            bool valueJoined = arg.find('=') != std::string::npos;
            if (!valueJoined && ++i == args.size())
                return Refuse("option " + arg + " needs a value");
        } else if (Among(kQtFlags, name) && arg.find('=') == std::string::npos) {
            continue;
        } else if (name.empty()) {
            return Refuse("does not open files named on its command line: " + arg);
        } else {
            return Refuse("unknown option " + arg);
        }
    }
    return asked;
}

std::string UsageText(const std::string& defaultFolder, const std::string& resourceFolder) {
    return "Usage: quantora [--read-only | --help | --version]\n"
           "\n"
           "Quantora costs jobs for a small business, from its price lists and from other\n"
           "jobs. Started without arguments, it opens its management window.\n"
           "\n"
           "  --read-only  open the data folder to look only: jobs and price lists can be\n"
           "               found, opened, printed and exported, and nothing is changed, so\n"
           "               that another computer may work in the folder meanwhile\n"
           "  -h, --help   show this text and end\n"
           "  --version    show the version and end\n"
           "\n"
           "The options of the window system (-platform, -display, -style and the like) are\n"
           "passed on to it.\n"
           "\n"
           "Settings and the default data folder: " +
           defaultFolder +
           "\n"
           "Help page: " +
           resourceFolder +
           "Help/1.htm\n"
           "Sound:     " +
           resourceFolder + "ping.wav\n";
}

std::string VersionText(const std::string& version) { return "Quantora " + version + "\n"; }

}  // namespace quantora
