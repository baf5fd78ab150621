// The desktop's services the program asks for: opening a document with the program the
// desktop associates with it, the folder for per-user data, folder browsing, and the
// program's own folder with its resources.
#pragma once

#include <QIcon>
#include <optional>
#include <string>

class QString;
class QWidget;

namespace quantora {

// Opens the document (a file path or a web address) with its associated program; failures
// are not reported.
void OpenDocument(const std::string& pathOrUrl);

// The user's data folder (the XDG data home) without a trailing "/", or "<bad>".
std::string SpecialFolderPath();

// The file of the program's own settings: quantora/quantora.conf in the user's configuration
// folder (the XDG config home).
std::string OwnSettingsPath();

// The default folder: the user's data folder + "Kiru Software/Quantora_Data/", each level
// made if missing. Without a data folder for the user, one under the home folder is used.
std::string BuildDefaultFolder(const std::string& specialFolder, const std::string& homeFolder);

// The path BuildDefaultFolder leads to, without making any folder.
std::string DefaultFolderPath(const std::string& specialFolder, const std::string& homeFolder);

// The folder of the running program, ending in "/".
std::string ProgramFolder();

// Where the program's own files (ping.wav, Help/1.htm, the icon) lie: the program folder, or
// ../share/quantora/ beside it in an installed copy. Ends in "/".
std::string ResourceFolder();

// The program's icon in every size there is of it: from the desktop's icon theme folders
// beside the resource folder in an installed copy, or from icons/hicolor/ inside it in a build.
QIcon ApplicationIcon(const std::string& resourceFolder, const std::string& desktopId);

// Lets the user pick a folder under the title, starting in start (home when that is no
// folder); nothing on cancel. The path ends in "/".
std::optional<std::string> BrowseForFolder(QWidget* owner, const QString& title,
                                           const std::string& start);

}  // namespace quantora
