#include "ui/datafolder/data_folder_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>

#include "datafolder/folder_choice.h"
#include "platform/sounds.h"
#include "ui/common/data_folder_hold.h"
#include "ui/common/dialogs.h"
#include "ui/common/help_panel.h"
#include "ui/common/progress_bar.h"
#include "ui/common/window_scaling.h"
#include "ui/session.h"

namespace quantora {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// What the help panel says when the mouse is over each control, by the control's help key.
struct HelpText {
    const char* key;
    const char* text;
};
constexpr HelpText kHelpTexts[] = {
    {"help",
     "Help Panel\nIf you use the Windows magnifier, you can freeze the help display while you "
     "move the mouse here by holding down the Ctrl key.\n\nYou can also click here to cancel."},
    {"change", "Use this button to read data already in another folder. \n\n"},
    {"backup", "Use this button to copy the current data to the selected folder. \n\n"},
    {"restore", "Use this button to restore data from the selected folder.\n\n"},
    {"move",
     "Use this button to move your current data files to a new empty folder. \n\nIf the new "
     "folder already contains Kiru data, it will be overwritten. \n\n"},
    {"chdirbtn",
     "Click to select a folder.\n\nAfter doing so, the folder options buttons will become "
     "active.\n\n"},
    {"def", "Click to select the Windows default folder for your data.\n\n"},
    {"display", "Shows the folder in which your data files are stored."},
};

// The help key of the action buttons, in the order of their numbers.
constexpr const char* kActionHelp[4] = {"move", "change", "backup", "restore"};
constexpr const char* kActionCaptions[4] = {
    "Move current data to this folder", "Use this folder without moving data",
    "Make a backup in this folder", "Restore data from this folder"};

const char* EndText(FolderAction action) {
    switch (action) {
        case FolderAction::Restore:
            return "Restore Complete !";
        case FolderAction::Backup:
            return "Backup Complete !";
        default:
            return "Move Complete !";
    }
}

// A folder as the window shows it: without its closing "/".
QString Shown(const std::string& folder) {
    return Q(folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1)
                                                       : folder);
}

// The bar starts a little way in, so it shows from the first file on.
constexpr int kBarStart = Twips(60);

}  // namespace

DataFolderWindow::DataFolderWindow(QWidget* managementWindow, Session& session,
                                   std::function<void()> refreshLists)
    : QDialog(managementWindow), session_(session), refreshLists_(std::move(refreshLists)) {
    setObjectName("Backup");
    setWindowTitle(" Backup and Restore");
    BuildControls();
    ScaleForm(this);
    ShowFolder(session_.Paths.dataFolder);
    FolderButtons buttons = ButtonsOnOpening(session_.Paths);
    ShowButtons(buttons.actions, buttons.defaultFolder);
    if (managementWindow != nullptr) move(managementWindow->frameGeometry().topLeft());
}

void DataFolderWindow::BuildControls() {
    setFixedSize(760, 300);
    auto* title = new QLabel("Data Folder", this);
    title->setObjectName("Label2");
    title->setGeometry(8, 8, 480, 18);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    dataDisplay_ = new QLabel(this);
    dataDisplay_->setObjectName("DataDisplay");
    dataDisplay_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    dataDisplay_->setGeometry(8, 28, 480, 26);
    dataDisplay_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    selectFolder_ = new QPushButton("Select Folder", this);
    selectFolder_->setObjectName("DataFolderBtn");
    selectFolder_->setGeometry(496, 26, 124, 30);
    defaultFolder_ = new QPushButton("Default Folder", this);
    defaultFolder_->setObjectName("DefaultFolderBtn");
    defaultFolder_->setGeometry(628, 26, 124, 30);

    for (int i = 0; i < 4; ++i) {
        actionButtons_[i] = new QPushButton(kActionCaptions[i], this);
        actionButtons_[i]->setObjectName(QString("MoveBtn%1").arg(i));
        actionButtons_[i]->setGeometry(8, 68 + i * 38, 360, 32);
        actionButtons_[i]->setProperty("helpKey", kActionHelp[i]);
        connect(actionButtons_[i], &QPushButton::clicked, this,
                [this, i] { RunAction(static_cast<FolderAction>(i)); });
    }
    selectFolder_->setProperty("helpKey", "chdirbtn");
    defaultFolder_->setProperty("helpKey", "def");
    dataDisplay_->setProperty("helpKey", "display");
    connect(selectFolder_, &QPushButton::clicked, this, &DataFolderWindow::SelectFolder);
    connect(defaultFolder_, &QPushButton::clicked, this, &DataFolderWindow::SelectDefaultFolder);

    helpFrame_ = NewHelpFrame(this, "Helpframe", {376, 68, 376, 146});
    helpLabel_ = new QLabel(helpFrame_);
    helpLabel_->setObjectName("Helplabel");
    helpLabel_->setGeometry(8, 6, 360, 134);
    helpLabel_->setWordWrap(true);
    helpLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    helpFrame_->setProperty("helpKey", "help");
    helpLabel_->setProperty("helpKey", "help");

    holdFocus_ = new QWidget(this);
    holdFocus_->setObjectName("Holdfocus");
    holdFocus_->setFocusPolicy(Qt::StrongFocus);
    holdFocus_->setGeometry(0, 0, 1, 1);

    progress_ = new QFrame(this);
    progress_->setObjectName("Progress");
    progress_->setFrameShape(QFrame::StyledPanel);
    progress_->setGeometry(8, 224, 744, 68);
    auto* inner = new QFrame(progress_);
    inner->setObjectName("ProgressInner");
    inner->setGeometry(4, 4, 736, 60);
    message_ = new QLabel("Please wait.......", inner);
    message_->setObjectName("Message");
    message_->setGeometry(8, 4, 720, 20);
    bar_ = new ProgressBar(inner);
    bar_->setObjectName("Box");
    bar_->setGeometry(8, 30, 720, 22);
    progress_->hide();

    endFrame_ = new QFrame(this);
    endFrame_->setObjectName("EndMessageFrame");
    endFrame_->setFrameShape(QFrame::StyledPanel);
    endFrame_->setGeometry(8, 224, 744, 68);
    auto* picture = new QLabel(endFrame_);
    picture->setObjectName("Picture1");
    picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    picture->setGeometry(12, 18, 32, 32);
    endMessage_ = new QLabel(endFrame_);
    endMessage_->setObjectName("EndMessage");
    endMessage_->setGeometry(56, 18, 500, 32);
    endMessage_->setFont(bold);
    endButton_ = new QPushButton("OK", endFrame_);
    endButton_->setObjectName("EndBtn");
    endButton_->setGeometry(620, 18, 112, 32);
    connect(endButton_, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    endFrame_->hide();

    for (QWidget* control : std::initializer_list<QWidget*>{
             dataDisplay_, selectFolder_, defaultFolder_, helpFrame_, helpLabel_, actionButtons_[0],
             actionButtons_[1], actionButtons_[2], actionButtons_[3]}) {
        control->setMouseTracking(true);
        control->installEventFilter(this);
    }
    for (QPushButton* button : {selectFolder_, defaultFolder_}) button->setAutoDefault(false);
    for (QPushButton* button : actionButtons_) button->setAutoDefault(false);
    endButton_->setAutoDefault(true);  // Enter on "OK" closes, as in a message box
}

std::string DataFolderWindow::SelectedFolder() const {
    return dataDisplay_->text().toStdString() + "/";
}

void DataFolderWindow::ShowFolder(const std::string& folder) {
    dataDisplay_->setText(Shown(folder));
}

void DataFolderWindow::ShowButtons(bool actions, bool defaultFolder) {
    for (QPushButton* button : actionButtons_) button->setEnabled(actions);
    defaultFolder_->setEnabled(defaultFolder);
}

void DataFolderWindow::ShowHelp(const char* key) {
    if (std::string_view(key) == shownHelp_) return;
    for (const HelpText& help : kHelpTexts) {
        if (std::string_view(help.key) != key) continue;
        shownHelp_ = help.key;
        helpLabel_->setText(help.text);
    }
}

bool DataFolderWindow::eventFilter(QObject* watched, QEvent* event) {
    QVariant key = watched->property("helpKey");
    bool overHelp = watched == helpFrame_ || watched == helpLabel_;
    switch (event->type()) {
        case QEvent::Enter:
            ShowHelp(key.toByteArray().constData());
            break;
        case QEvent::MouseMove:
            if (static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton)
                ShowHelp(key.toByteArray().constData());
            break;
        case QEvent::MouseButtonRelease:
            // A left click on the help panel is also the way out, but not from under a
            // running action.
            if (overHelp && !running_ &&
                static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                done(QDialog::Rejected);
                return true;
            }
            break;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

bool DataFolderWindow::Locked() const { return !selectFolder_->isEnabled(); }

void DataFolderWindow::closeEvent(QCloseEvent* event) {
    if (Locked()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void DataFolderWindow::reject() {
    // Esc asks to close as the close box does.
    if (!Locked()) QDialog::reject();
}

void DataFolderWindow::SelectFolder() {
    holdFocus_->setFocus();
    std::optional<std::string> picked =
        session_.dialogs.BrowseFolder(this, "Please select a folder.", session_.Paths.dataFolder);
    if (!picked) return;
    std::string folder = FolderToUse(*picked, session_.ProgramFolder);
    if (auto refusal = ProgramDataFolderRefusal(folder, session_.ProgramFolder)) {
        Tell(*refusal);
        return;
    }
    ShowFolder(folder);
    FolderButtons buttons = ButtonsForSelection(folder, session_.Paths);
    ShowButtons(buttons.actions, buttons.defaultFolder);
}

void DataFolderWindow::SelectDefaultFolder() {
    holdFocus_->setFocus();
    ShowFolder(session_.Paths.defaultFolder);
    FolderButtons buttons = ButtonsForSelection(session_.Paths.defaultFolder, session_.Paths);
    ShowButtons(buttons.actions, buttons.defaultFolder);
}

void DataFolderWindow::Tell(const std::string& message) {
    session_.dialogs.AskAndLatch(this, Q(message), PromptIcon::Exclamation, PromptButtons::Ok);
}

void DataFolderWindow::SetUpDataFolderAgain() {
    if (auto unreachable = session_.SetUpDataFolderAgain())
        Tell(NotAccessibleMessage(*unreachable));
    refreshLists_();
}

void DataFolderWindow::RunAction(FolderAction action) {
    holdFocus_->setFocus();
    std::string selected = SelectedFolder();
    // A folder another computer works in is neither switched to nor written over; it is held
    // before even the checks try it. Restoring only reads it.
    DeskHold next;
    auto holdSelected = [&] {
        return action == FolderAction::Restore || next.Holds() ||
               HoldDataFolder(this, session_.dialogs, next, selected,
                              PromptButtons::TryAgainCancel) == HoldChoice::Held;
    };
    if (!holdSelected()) return;
    ActionCheck check = CheckFolderAction(action, session_.Paths, selected);
    if (check.refusal) return Tell(*check.refusal);
    if (check.incompleteBackup &&
        session_.dialogs.AskAndLatch(this, Q(IncompleteBackupQuestion()), PromptIcon::Exclamation,
                                     PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    if (check.spaceUnknown &&
        session_.dialogs.AskAndLatch(this,
                                     "Unable to check for required disk space! If you know that "
                                     "there is enough, click Yes to continue.",
                                     PromptIcon::Exclamation,
                                     PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    if (check.wipe &&
        !session_.dialogs.ConfirmWipe(this, Q(check.wipe->headline), Q(check.wipe->detail)))
        return;
    // A folder the checks made has its hold now.
    if (!holdSelected()) return;
    if (action == FolderAction::Use) return UseFolder(selected, std::move(next));

    ShowButtons(false, false);
    selectFolder_->setEnabled(false);
    running_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    progress_->show();
    repaint();
    ActionOutcome outcome =
        RunFolderAction(action, session_.Paths, selected, session_.Settings(), *this);
    running_ = false;
    progress_->hide();
    QApplication::restoreOverrideCursor();
    // The moved data is held where it now is; the folder it left is let go (and goes).
    if (action == FolderAction::Move && outcome.dataFolder == selected)
        session_.Hold = std::move(next);
    if (action != FolderAction::Backup) SetUpDataFolderAgain();
    if (outcome.uncopiedFile) {
        // Nothing is finished: the window is as before, ready for another try.
        Tell(UncopiedFileMessage(*outcome.uncopiedFile));
        selectFolder_->setEnabled(true);
        ShowFolder(selected);
        FolderButtons buttons = ButtonsForSelection(selected, session_.Paths);
        ShowButtons(buttons.actions, buttons.defaultFolder);
        return;
    }
    Finish(action);
}

void DataFolderWindow::UseFolder(const std::string& selected, DeskHold hold) {
    ShowButtons(false, false);
    selectFolder_->setEnabled(false);
    RunFolderAction(FolderAction::Use, session_.Paths, selected, session_.Settings(), *this);
    session_.Hold = std::move(hold);
    SetUpDataFolderAgain();
    done(QDialog::Accepted);
}

void DataFolderWindow::Finish(FolderAction action) {
    if (action == FolderAction::Backup) ShowFolder(session_.Paths.dataFolder);
    endMessage_->setText(EndText(action));
    endFrame_->show();
    endButton_->setFocus();
    session_.sounds.PlayAsterisk();
}

void DataFolderWindow::ActionStarted(std::uint64_t units) {
    // One run of the bar, from empty to full, across the whole action.
    bar_->Begin(static_cast<std::int64_t>(units), kBarStart);
}

void DataFolderWindow::StepStarted(const std::string& message) {
    message_->setText(Q(message));
    message_->repaint();
    lastEvents_ = std::chrono::steady_clock::now();
    QApplication::processEvents();
}

void DataFolderWindow::FileDone() {
    bar_->Advance();
    // The window answers and repaints about thirty times a second; more would only slow the
    // copy it reports on.
    auto now = std::chrono::steady_clock::now();
    if (now - lastEvents_ < std::chrono::milliseconds(33)) return;
    lastEvents_ = now;
    QApplication::processEvents();
}

}  // namespace quantora
