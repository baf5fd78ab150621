#include "platform/shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QUrl>
#include <vector>

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

std::string OwnSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() +
           "/quantora/quantora.conf";
}

namespace {

// Each level of the default folder, from the outermost.
std::vector<std::string> DefaultFolderLevels(const std::string& specialFolder,
                                             const std::string& homeFolder) {
    std::vector<std::string> levels;
    if (specialFolder == "<bad>") {
        // The same levels as the XDG default, made by hand.
        std::string home = homeFolder + (homeFolder.empty() || homeFolder.back() != '/' ? "/" : "");
        levels.push_back(home + ".local/");
        levels.push_back(levels.back() + "share/");
    } else {
        // A new account may have no ~/.local/share yet: each missing level is made.
        for (std::size_t slash = specialFolder.find('/', 1); slash != std::string::npos;
             slash = specialFolder.find('/', slash + 1))
            levels.push_back(specialFolder.substr(0, slash + 1));
        levels.push_back(specialFolder + "/");
    }
    levels.push_back(levels.back() + "Kiru Software/");
    levels.push_back(levels.back() + "Quantora_Data/");
    return levels;
}

}  // namespace

std::string BuildDefaultFolder(const std::string& specialFolder, const std::string& homeFolder) {
    std::vector<std::string> levels = DefaultFolderLevels(specialFolder, homeFolder);
    for (const std::string& level : levels) EnsureFolder(level);
    return levels.back();
}

std::string DefaultFolderPath(const std::string& specialFolder, const std::string& homeFolder) {
    return DefaultFolderLevels(specialFolder, homeFolder).back();
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

QIcon ApplicationIcon(const std::string& resourceFolder, const std::string& desktopId) {
    QIcon icon;
    QString resources = QString::fromStdString(resourceFolder);
    for (const QString& theme : {resources + "../icons/hicolor/", resources + "icons/hicolor/"}) {
        for (int size : {16, 24, 32, 48, 64, 128, 256}) {
            QString file =
                QString("%1%2x%2/apps/%3.png").arg(theme).arg(size).arg(desktopId.c_str());
            if (QFileInfo::exists(file)) icon.addFile(file, QSize(size, size));
        }
        if (!icon.isNull()) break;
    }
    return icon;
}

namespace {

// The places a folder picker offers beside the folders themselves: home and its usual
// folders, then every drive and network share mounted for the user (removable drives under
// /media, /run/media or /mnt, shares the desktop mounted for the user under the runtime
// folder, and network file systems wherever they are mounted).
QList<QUrl> Places() {
    QList<QUrl> places{QUrl("file:")};
    for (auto location : {QStandardPaths::HomeLocation, QStandardPaths::DesktopLocation,
                          QStandardPaths::DocumentsLocation}) {
        QString path = QStandardPaths::writableLocation(location);
        QUrl url = QUrl::fromLocalFile(path);
        if (!path.isEmpty() && QFileInfo(path).isDir() && !places.contains(url)) places << url;
    }
    const QStringList network{
        "nfs",   "nfs4",       "cifs", "smb3", "smbfs", "fuse.sshfs", "fuse.gvfsd-fuse",
        "davfs", "fuse.rclone"};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        QString root = volume.rootPath();
        bool drive = root.startsWith("/media/") || root.startsWith("/run/media/") ||
                     root.startsWith("/mnt/");
        bool share = network.contains(QString::fromLatin1(volume.fileSystemType()));
        if (!drive && !share) continue;
        QUrl url = QUrl::fromLocalFile(root);
        if (!places.contains(url)) places << url;
    }
    // Shares the desktop opened for the user (Files' "Other Locations") appear here.
    QDir gvfs(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/gvfs");
    for (const QFileInfo& share : gvfs.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
        places << QUrl::fromLocalFile(share.absoluteFilePath());
    return places;
}

}  // namespace

std::optional<std::string> BrowseForFolder(QWidget* owner, const QString& title,
                                           const std::string& start) {
    QString from = QString::fromStdString(start);
    if (!QFileInfo(from).isDir()) from = QDir::homePath();
    // The desktop's own folder chooser where the desktop has one; Qt's, with the places
    // above in its side bar, where it has none.
    QFileDialog dialog(owner, title, from);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setSidebarUrls(Places());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    std::string folder = dialog.selectedFiles().front().toStdString();
    return folder.back() == '/' ? folder : folder + "/";
}

}  // namespace quantora
