#include "platform/shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include "store/data_file.h"

namespace quantora {

void OpenDocument(const std::string& pathOrUrl) {
    // Let the window finish painting before the desktop starts the other program.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QString target = QString::fromStdString(pathOrUrl);
    QUrl url = target.contains("://") ? QUrl(target) : QUrl::fromLocalFile(target);
    QDesktopServices::openUrl(url);
}

std::string SpecialFolderPath() {
    QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (home.isEmpty()) return "<bad>";
    return QDir::cleanPath(home).toStdString();
}

std::string BuildDefaultFolder(const std::string& specialFolder, const std::string& homeFolder) {
    std::string folder;
    if (specialFolder == "<bad>") {
        // The same levels as the XDG default, made by hand.
        folder = homeFolder + (homeFolder.empty() || homeFolder.back() != '/' ? "/" : "");
        EnsureFolder(folder += ".local/");
        EnsureFolder(folder += "share/");
    } else {
        folder = specialFolder + "/";
        EnsureFolder(folder);
    }
    EnsureFolder(folder += "Kiru Software/");
    EnsureFolder(folder += "Quantora_Data/");
    return folder;
}

std::string ProgramFolder() {
    std::string folder = QCoreApplication::applicationDirPath().toStdString();
    return folder.back() == '/' ? folder : folder + "/";
}

std::string ResourceFolder() {
    std::string program = ProgramFolder();
    if (QFileInfo::exists(QString::fromStdString(program + "ping.wav"))) return program;
    QString installed = QDir::cleanPath(QString::fromStdString(program + "../share/quantora/"));
    if (QFileInfo(installed).isDir()) return installed.toStdString() + "/";
    return program;
}

std::optional<std::string> BrowseForFolder(QWidget* owner, const QString& title) {
    QString chosen = QFileDialog::getExistingDirectory(owner, title);
    if (chosen.isEmpty()) return std::nullopt;
    std::string folder = chosen.toStdString();
    return folder.back() == '/' ? folder : folder + "/";
}

}  // namespace quantora
