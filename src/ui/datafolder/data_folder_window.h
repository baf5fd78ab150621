// The data folder window " Backup and Restore": the user picks a folder, then moves the data
// there, switches to it, backs the data up into it or restores the data from it. The checks
// and the actions are the core's; the window asks what they say to ask, shows their progress
// and refuses to close while one runs or before its end has been acknowledged.
#pragma once

#include <QDialog>
#include <chrono>
#include <functional>
#include <string>

#include "datafolder/desk_hold.h"
#include "datafolder/folder_actions.h"

class QFrame;
class QLabel;
class QPushButton;

namespace quantora {

class ProgressBar;
class Session;

class DataFolderWindow : public QDialog, private FolderActionObserver {
    Q_OBJECT
  public:
    // Opens over the management window; refreshLists shows the data folder's groups and lists
    // again once the data has moved or been restored.
    DataFolderWindow(QWidget* managementWindow, Session& session,
                     std::function<void()> refreshLists);

    // The folder the action buttons act on: what DataDisplay shows, ending in "/".
    std::string SelectedFolder() const;

  public slots:
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void ShowFolder(const std::string& folder);
    void ShowButtons(bool actions, bool defaultFolder);
    void ShowHelp(const char* key);

    void SelectFolder();
    void SelectDefaultFolder();
    void RunAction(FolderAction action);
    void UseFolder(const std::string& selected, DeskHold hold);
    void Finish(FolderAction action);
    void Tell(const std::string& message);
    void SetUpDataFolderAgain();
    // While an action runs, and after it until OK: the window may not be closed.
    bool Locked() const;

    void ActionStarted(std::uint64_t units) override;
    void StepStarted(const std::string& message) override;
    void FileDone() override;

    Session& session_;
    std::function<void()> refreshLists_;
    QLabel* dataDisplay_;
    QPushButton* selectFolder_;
    QPushButton* defaultFolder_;
    QPushButton* actionButtons_[4];
    QFrame* helpFrame_;
    QLabel* helpLabel_;
    QWidget* holdFocus_;
    QFrame* progress_;
    QLabel* message_;
    ProgressBar* bar_;
    QFrame* endFrame_;
    QLabel* endMessage_;
    QPushButton* endButton_;

    const char* shownHelp_ = "";
    bool running_ = false;
    std::chrono::steady_clock::time_point lastEvents_;
};

}  // namespace quantora
