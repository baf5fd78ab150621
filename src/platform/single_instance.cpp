#include "platform/single_instance.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QWidget>

namespace quantora {

namespace {

constexpr int kWaitMs = 2000;

}  // namespace

QString PrivateSocketFolder() {
    // The runtime folder is the user's alone and lives as long as the session.
    QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (!runtime.isEmpty() && ::stat(runtime.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
        info.st_uid == ::getuid() && (info.st_mode & 077) == 0)
        return QString::fromLocal8Bit(runtime) + "/";
    // Otherwise a folder of the user's own, made reachable by nobody else.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (folder.isEmpty()) folder = QDir::homePath() + "/.cache";
    folder += "/Quantora";
    QDir().mkpath(folder);
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    return folder + "/";
}

QString RunningCopyName() {
    return PrivateSocketFolder() + "quantora" + qEnvironmentVariable("QUANTORA_INSTANCE");
}

RunningCopy AskRunningCopy(const QString& caption, const QString& captionMinuteEarlier,
                           const QString& name) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kWaitMs)) return RunningCopy::None;
    socket.write((caption + "\n" + captionMinuteEarlier + "\n").toUtf8());
    socket.flush();
    if (!socket.waitForReadyRead(kWaitMs)) return RunningCopy::Different;
    return socket.readAll().startsWith('1') ? RunningCopy::Raised : RunningCopy::Different;
}

RunningCopyListener::RunningCopyListener(QWidget* mainWindow, const QString& name)
    : QObject(mainWindow), mainWindow_(mainWindow), name_(name), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &RunningCopyListener::Answer);
}

bool RunningCopyListener::Listen() {
    if (server_->listen(name_)) return true;
    QLocalServer::removeServer(name_);
    return server_->listen(name_);
}

void RunningCopyListener::Answer() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QByteArray request = socket->peek(4096);
            if (request.count('\n') < 2) return;
            socket->readAll();
            QList<QByteArray> captions = request.split('\n');
            // A copy that only reads its data folder follows its caption with a note in
            // brackets; it is still the running copy.
            QString title = mainWindow_->windowTitle();
            auto shows = [&title](const QString& caption) {
                return title == caption || title.startsWith(caption + " (");
            };
            bool same =
                shows(QString::fromUtf8(captions[0])) || shows(QString::fromUtf8(captions[1]));
            if (same) {
                mainWindow_->showNormal();
                mainWindow_->raise();
                mainWindow_->activateWindow();
                emit raised();
            }
            socket->write(same ? "1" : "0");
            socket->flush();
        });
    }
}

}  // namespace quantora
