#include "platform/shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>
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
