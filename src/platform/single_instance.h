// One running copy per user. A new copy asks the running one, over a local socket only this
// user can reach, whether its main window shows the caption the new copy would show (or
// that of a minute earlier); if so the running copy comes forward and the new one ends.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

namespace quantora {

// The folder the socket lives in, ending in "/": the user's runtime folder
// ($XDG_RUNTIME_DIR), private to the user and to the session, or without one a folder of
// the user's own that only the user may enter. Never the shared temporary folder, where
// another user could take the name first.
QString PrivateSocketFolder();

// The socket path of this user's running copy. QUANTORA_INSTANCE in the environment adds
// a suffix, so tests can run copies of their own beside a copy the user has open.
QString RunningCopyName();

enum class RunningCopy { None, Raised, Different };

// Asks a running copy: None when there is none, Raised when it showed one of the captions
// and has come forward, Different when it runs but showed neither.
RunningCopy AskRunningCopy(const QString& caption, const QString& captionMinuteEarlier,
                           const QString& name = RunningCopyName());

// Answers new copies on behalf of the main window.
class RunningCopyListener : public QObject {
    Q_OBJECT
  public:
    RunningCopyListener(QWidget* mainWindow, const QString& name = RunningCopyName());
    // Starts answering; a socket left behind by a copy that crashed is replaced.
    bool Listen();

  signals:
    void raised();

  private:
    void Answer();

    QWidget* mainWindow_;
    QString name_;
    QLocalServer* server_;
};

}  // namespace quantora
