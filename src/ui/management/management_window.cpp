#include "ui/management/management_window.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>

#include "costing/job_editing.h"
#include "manage/job_operations.h"
#include "manage/menu_captions.h"
#include "manage/name_index.h"
#include "platform/sounds.h"
#include "services/clock_text.h"
#include "ui/common/data_folder_hold.h"
#include "ui/common/dialogs.h"
#include "ui/common/help_panel.h"
#include "ui/common/key_preview.h"
#include "ui/common/slot_column.h"
#include "ui/common/where_used_box.h"
#include "ui/common/window_scaling.h"
#include "ui/costing/costing_sheet_window.h"
#include "ui/datafolder/data_folder_window.h"
#include "ui/management/about_box.h"
#include "ui/management/find_job_box.h"
#include "ui/pricelists/price_list_editor.h"
#include "ui/session.h"

namespace quantora {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QLabel* BoldLabel(const QString& text, QWidget* parent, QRect at) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setGeometry(at);
    return label;
}

QLabel* HelpText(const QString& text, QWidget* parent, QRect at) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(at);
    return label;
}

int SelectedRow(const QListWidget* list) {
    QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}

void SelectRow(QListWidget* list, int row) {
    list->setCurrentRow(row);
    if (row < 0) list->clearSelection();
}

// letter is where the item's access letter stands in its caption (the first letter, but for
// "Cut", whose C is Copy's).
void ShowItem(QAction* action, const MenuItemState& state, int letter = 0) {
    action->setEnabled(state.enabled);
    // "&" marks the access letter; one in a name shows as it is.
    QString caption = Q(state.caption);
    action->setText(caption.left(letter).replace("&", "&&") + "&" +
                    caption.mid(letter).replace("&", "&&"));
}

bool IsEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

QAction* Named(QAction* action, const char* name) {
    action->setObjectName(name);
    return action;
}

}  // namespace

ManagementWindow::ManagementWindow(Session& session) : session_(session) {
    setObjectName("Edit");
    BuildColumns();
    BuildHelpPanel();
    BuildMenus();

    clockTimer_ = new QTimer(this);
    clockTimer_->setObjectName("Timerclock");
    clockTimer_->setInterval(2000);
    connect(clockTimer_, &QTimer::timeout, this, &ManagementWindow::ShowClock);
    clockTimer_->start();
    refreshTimer_ = new QTimer(this);
    refreshTimer_->setObjectName("TimerRefresh");
    refreshTimer_->setSingleShot(true);
    refreshTimer_->setInterval(1);
    connect(refreshTimer_, &QTimer::timeout, this, &ManagementWindow::RefreshLists);

    new KeyPreview(this, session_.Keys,
                   [this](QWidget* receiver, QKeyEvent* key) { return PreviewKey(receiver, key); });
    ScaleForm(this, true);
    setWindowTitle(kProgramTitle);
    RefreshLists();
}

void ManagementWindow::BuildColumns() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    central->setFixedSize(768, 474);

    jobFrame_ = new QFrame(central);
    jobFrame_->setObjectName("JobFrame");
    jobFrame_->setFrameShape(QFrame::StyledPanel);
    jobFrame_->setGeometry(8, 8, 496, 300);
    BoldLabel("Job Groups", jobFrame_, {8, 6, 232, 18});
    groupColumn_ = new QListWidget(jobFrame_);
    groupColumn_->setObjectName("FolderList");
    groupColumn_->setGeometry(8, 28, 232, 264);
    BoldLabel("Job Quantoras", jobFrame_, {256, 6, 232, 18});
    jobColumn_ = new QListWidget(jobFrame_);
    jobColumn_->setObjectName("JobList");
    jobColumn_->setGeometry(256, 28, 232, 264);

    priceFrame_ = new QFrame(central);
    priceFrame_->setObjectName("PriceFrame");
    priceFrame_->setFrameShape(QFrame::StyledPanel);
    priceFrame_->setGeometry(512, 8, 248, 300);
    BoldLabel("Price Lists", priceFrame_, {8, 6, 232, 18});
    priceListColumn_ = new QListWidget(priceFrame_);
    priceListColumn_->setObjectName("PriceList");
    priceListColumn_->setGeometry(8, 28, 232, 264);

    for (QListWidget* list : {groupColumn_, jobColumn_, priceListColumn_}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setAutoFillBackground(true);
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
    }
    connect(priceListColumn_, &QListWidget::itemDoubleClicked, this,
            &ManagementWindow::OpenPriceList);
    setTabOrder(priceListColumn_, groupColumn_);
    setTabOrder(groupColumn_, jobColumn_);
    priceListColumn_->setFocus();  // the price lists come first, in focus as in tab order
    ColumnFocused(3);
}

void ManagementWindow::BuildHelpPanel() {
    helpFrame_ = NewHelpFrame(centralWidget(), "HelpFrame", {8, 316, 752, 150});
    HelpText(
        "Welcome - This is your management window. From here you can add, delete, rename "
        "and open your job costings and price lists.",
        helpFrame_, {8, 6, 736, 36});
    HelpText(
        "In this column, you can create any number of groups. Groups are used to keep "
        "related jobs together. Each group can contain any number of jobs.",
        helpFrame_, {16, 48, 232, 96});
    HelpText(
        "This column holds the names of the jobs in the selected group. Each job is a "
        "costing of quantity * price of items chosen from your price lists.",
        helpFrame_, {264, 48, 232, 96});
    HelpText(
        "This column shows the names of your price lists. You must open and create at "
        "least one price list before you can start costing jobs.",
        helpFrame_, {512, 48, 232, 96});
}

void ManagementWindow::BuildMenus() {
    groupMenu_ = menuBar()->addMenu("Job &Groups");
    groupMenu_->setObjectName("FM");
    QAction* newGroup = Named(groupMenu_->addAction("&New Group"), "FMNew");
    renameGroup_ = Named(groupMenu_->addAction("&Rename"), "FMRename");
    Named(groupMenu_->addSeparator(), "FMDash");
    deleteGroup_ = Named(groupMenu_->addAction("&Delete"), "FMDelete");

    jobMenu_ = menuBar()->addMenu("&Job Quantoras");
    jobMenu_->setObjectName("JM");
    newJob_ = Named(jobMenu_->addAction("&New Job"), "JMNew");
    openJob_ = Named(jobMenu_->addAction("&Open"), "JMOpen");
    renameJob_ = Named(jobMenu_->addAction("&Rename"), "JMRename");
    Named(jobMenu_->addSeparator(), "JMDash");
    cutJob_ = Named(jobMenu_->addAction("Cu&t"), "JMCut");
    copyJob_ = Named(jobMenu_->addAction("&Copy"), "JMCopy");
    pasteJob_ = Named(jobMenu_->addAction("&Paste"), "JMPaste");
    deleteJob_ = Named(jobMenu_->addAction("&Delete"), "JMDelete");
    // Finding a job by part of its name, beside the design's items.
    jobMenu_->addSeparator();
    QAction* findJob = Named(jobMenu_->addAction("&Find Job..."), "JMFind");
    findJob->setShortcut(QKeySequence::Find);
    connect(findJob, &QAction::triggered, this, &ManagementWindow::FindJob);
    whereUsed_ = Named(jobMenu_->addAction("Where &Used..."), "JMWhereUsed");
    connect(whereUsed_, &QAction::triggered, this, &ManagementWindow::ShowWhereUsed);

    priceListMenu_ = menuBar()->addMenu("&Price Lists");
    priceListMenu_->setObjectName("LM");
    QAction* newPriceList = Named(priceListMenu_->addAction("&New Price List"), "LMNew");
    openPriceList_ = Named(priceListMenu_->addAction("&Open"), "LMOpen");
    renamePriceList_ = Named(priceListMenu_->addAction("&Rename"), "LMRename");
    Named(priceListMenu_->addSeparator(), "LMDash");
    deletePriceList_ = Named(priceListMenu_->addAction("&Delete"), "LMDelete");

    QMenu* tools = menuBar()->addMenu("&Tools");
    tools->setObjectName("MnuTools");
    QAction* backup = Named(tools->addAction("&Backup and Restore"), "MnuBackup");
    alwaysWriting_ = {newGroup, newJob_, newPriceList, backup};
    selectionWriting_ = {renameGroup_, deleteGroup_, renameJob_,       cutJob_,         copyJob_,
                         pasteJob_,    deleteJob_,   renamePriceList_, deletePriceList_};
    ShowWritingActions();

    helpPanel_ =
        new HelpPanel(menuBar(), session_, &Settings::EditHelp, {"HMpaneloff", "HMPanelOn"},
                      [this](bool shown) { ResizeForHelpPanel(shown); });
    Named(helpPanel_->Menu()->addSeparator(), "HMdash");
    QAction* about = Named(helpPanel_->Menu()->addAction("&About Quantora"), "HMAbout");

    connect(groupMenu_, &QMenu::aboutToShow, this,
            [this] { MenuOpened(groupColumn_, &ManagementWindow::PrepareGroupMenu); });
    connect(jobMenu_, &QMenu::aboutToShow, this,
            [this] { MenuOpened(jobColumn_, &ManagementWindow::PrepareJobMenu); });
    connect(priceListMenu_, &QMenu::aboutToShow, this,
            [this] { MenuOpened(priceListColumn_, &ManagementWindow::PreparePriceListMenu); });

    for (NameIndex index : {NameIndex::Groups, NameIndex::PriceLists}) {
        bool groups = index == NameIndex::Groups;
        connect(groups ? newGroup : newPriceList, &QAction::triggered, this,
                [this, index] { NewEntry(index); });
        connect(groups ? renameGroup_ : renamePriceList_, &QAction::triggered, this,
                [this, index] { RenameEntry(index); });
        connect(groups ? deleteGroup_ : deletePriceList_, &QAction::triggered, this,
                [this, index] { DeleteEntry(index); });
    }
    connect(openPriceList_, &QAction::triggered, this, &ManagementWindow::OpenPriceList);
    connect(newJob_, &QAction::triggered, this, &ManagementWindow::NewJob);
    connect(openJob_, &QAction::triggered, this, &ManagementWindow::OpenSelectedJob);
    connect(jobColumn_, &QListWidget::itemDoubleClicked, this, &ManagementWindow::OpenSelectedJob);
    connect(renameJob_, &QAction::triggered, this, &ManagementWindow::RenameSelectedJob);
    connect(cutJob_, &QAction::triggered, this,
            [this] { PutSelectedJobOnClipboard(JobClipboard::State::Cut); });
    connect(copyJob_, &QAction::triggered, this,
            [this] { PutSelectedJobOnClipboard(JobClipboard::State::Copied); });
    connect(pasteJob_, &QAction::triggered, this, &ManagementWindow::PasteJob);
    connect(deleteJob_, &QAction::triggered, this, &ManagementWindow::DeleteSelectedJob);
    connect(backup, &QAction::triggered, this, [this] {
        if (RefuseWhileReadOnly(this, session_)) return;
        DataFolderWindow window(this, session_, [this] { RefreshLists(); });
        window.exec();
        // Enter or Space on its "OK" may still be held: its release is not for this window.
        session_.Keys.Set();
    });
    connect(about, &QAction::triggered, this, [this] {
        AboutBox box(this, session_);
        box.exec();
    });
}

void ManagementWindow::ResizeForHelpPanel(bool shown) {
    bool wasShown = !helpFrame_->isHidden();
    helpFrame_->setVisible(shown);
    // The window shrinks by the panel and the 90-twip gap above it, and grows back by as much.
    int change = helpFrame_->height() + Twips(90);
    QWidget* central = centralWidget();
    if (wasShown && !shown) central->setFixedHeight(central->height() - change);
    if (!wasShown && shown) central->setFixedHeight(central->height() + change);
    adjustSize();
}

void ManagementWindow::RequestRefresh() { refreshTimer_->start(); }

void ManagementWindow::RefreshLists() {
    refreshTimer_->stop();
    LoadGroups();
    LoadJobs();
    LoadPriceLists();
}

void ManagementWindow::LoadGroups() { LoadIndex(NameIndex::Groups); }

void ManagementWindow::LoadJobs() {
    jobColumn_->clear();
    for (const std::string& name :
         SortedJobNames(session_.Paths.JobFolder(session_.Settings().CurrentGroup)))
        jobColumn_->addItem(Q(name));
    SelectRow(jobColumn_, jobColumn_->count() > 0 ? 0 : -1);
}

void ManagementWindow::LoadPriceLists() { LoadIndex(NameIndex::PriceLists); }

void ManagementWindow::LoadIndex(NameIndex index) {
    ShowSlotColumn(Column(index), LoadIndexColumn(session_.Paths, session_.Settings(), index));
}

QListWidget* ManagementWindow::Column(NameIndex index) const {
    return index == NameIndex::Groups ? groupColumn_ : priceListColumn_;
}

void ManagementWindow::ShowClock() {
    // A reading desk asks to work in the folder once it is free, when nothing else is open.
    if (session_.ReadOnly() && isVisible() && QApplication::activeModalWidget() == nullptr &&
        QApplication::activePopupWidget() == nullptr &&
        OfferToWorkInFreedFolder(this, session_, askedToWorkHere_)) {
        shownClock_.clear();
        ShowWritingActions();
        RefreshLists();
    }
    QString clock = Q(DateTimeText(ClockNow()));
    if (clock == shownClock_) return;
    shownClock_ = clock;
    setWindowTitle(Q(session_.Caption(clock.toStdString())));
}

QString ManagementWindow::Selected(const QListWidget* column) const {
    int row = SelectedRow(column);
    return row < 0 ? QString() : column->item(row)->text();
}

void ManagementWindow::MenuOpened(QListWidget* column, void (ManagementWindow::*prepare)()) {
    column->setFocus();
    if (std::exchange(session_.SkipMenuOpen, false)) return;
    (this->*prepare)();
}

void ManagementWindow::PrepareGroupMenu() {
    GroupMenuState menu = GroupMenuItems(Selected(groupColumn_).toStdString(),
                                         static_cast<std::size_t>(groupColumn_->count()));
    ShowItem(renameGroup_, menu.rename);
    ShowItem(deleteGroup_, menu.remove);
    ShowWritingActions();
}

void ManagementWindow::PrepareJobMenu() {
    JobMenuState menu = JobMenuItems(Selected(jobColumn_).toStdString(), session_.Clipboard,
                                     session_.Settings().CurrentGroup);
    ShowItem(openJob_, menu.open);
    ShowItem(renameJob_, menu.rename);
    ShowItem(cutJob_, menu.cut, 2);
    ShowItem(copyJob_, menu.copy);
    ShowItem(pasteJob_, menu.paste);
    ShowItem(deleteJob_, menu.remove);
    whereUsed_->setEnabled(menu.open.enabled);  // for a selected job, as Open is
    newJob_->setEnabled(true);
    ShowWritingActions();
}

void ManagementWindow::PreparePriceListMenu() {
    PriceListMenuState menu = PriceListMenuItems(Selected(priceListColumn_).toStdString());
    ShowItem(openPriceList_, menu.open);
    ShowItem(renamePriceList_, menu.rename);
    ShowItem(deletePriceList_, menu.remove);
    ShowWritingActions();
}

void ManagementWindow::ShowWritingActions() {
    bool writable = !session_.ReadOnly();
    for (QAction* action : alwaysWriting_) action->setEnabled(writable);
    if (!writable)
        for (QAction* action : selectionWriting_) action->setEnabled(false);
}

bool ManagementWindow::eventFilter(QObject* watched, QEvent* event) {
    for (QListWidget* list : {groupColumn_, jobColumn_, priceListColumn_}) {
        if (watched == list && event->type() == QEvent::FocusIn) {
            ColumnFocused(list == groupColumn_ ? 1 : list == jobColumn_ ? 2 : 3);
            return false;
        }
        if (watched != list->viewport()) continue;
        auto type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
            type != QEvent::MouseButtonRelease)
            return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            // The right button never changes the selection: the menu acts on the selected entry.
            if (type == QEvent::MouseButtonRelease)
                RightButtonReleased(list, mouse->position().toPoint());
            return true;
        }
        if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
            if (list == groupColumn_) GroupSelected();
            if (list == priceListColumn_) PriceListSelected();
        }
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool ManagementWindow::PreviewKey(QWidget* receiver, QKeyEvent* key) {
    bool sideways = key->key() == Qt::Key_Left || key->key() == Qt::Key_Right;
    // The lists never see Left and Right: they move between the columns when released.
    if (key->type() == QEvent::KeyPress || key->isAutoRepeat()) return sideways;

    if (key->key() == Qt::Key_Left) MoveFocus(focusColumn_ - 1);
    if (key->key() == Qt::Key_Right) MoveFocus(focusColumn_ + 1);
    if (key->key() == Qt::Key_F1) OpenDocumentation(session_);
    if (receiver == groupColumn_) GroupSelected();
    if (receiver == jobColumn_ && IsEnter(key)) OpenSelectedJob();
    if (receiver == priceListColumn_) {
        PriceListSelected();
        if (IsEnter(key)) OpenPriceList();
    }
    return sideways;
}

void ManagementWindow::MoveFocus(int column) {
    if (column == 1) groupColumn_->setFocus();
    if (column == 2) jobColumn_->setFocus();
    if (column == 3) priceListColumn_->setFocus();
}

void ManagementWindow::ColumnFocused(int column) {
    focusColumn_ = column;
    QListWidget* lists[] = {groupColumn_, jobColumn_, priceListColumn_};
    for (int i = 0; i < 3; ++i) {
        QPalette p = lists[i]->palette();
        p.setColor(QPalette::Base,
                   palette().color(i + 1 == column ? QPalette::Base : QPalette::Button));
        lists[i]->setPalette(p);
    }
}

void ManagementWindow::RightButtonReleased(QListWidget* column, QPoint at) {
    QMenu* menu = column == groupColumn_ ? groupMenu_
                  : column == jobColumn_ ? jobMenu_
                                         : priceListMenu_;
    if (column == groupColumn_) PrepareGroupMenu();
    if (column == jobColumn_) PrepareJobMenu();
    if (column == priceListColumn_) PreparePriceListMenu();
    lastClickY_ = at.y();
    session_.SkipMenuOpen = true;
    menu->popup(column->viewport()->mapToGlobal(at));
}

void ManagementWindow::GroupSelected() {
    std::optional<std::int16_t> slot = SelectedSlot(groupColumn_);
    if (!slot) return;
    session_.SelectEntry(NameIndex::Groups, *slot);
    LoadJobs();
}

void ManagementWindow::PriceListSelected() {
    std::optional<std::int16_t> slot = SelectedSlot(priceListColumn_);
    if (!slot) return;
    session_.SelectEntry(NameIndex::PriceLists, *slot);
}

bool ManagementWindow::AskName(QWidget* leftEdge, QString offered, RefusalStyle refusal,
                               const std::function<NameAnswer(const std::string&)>& apply) {
    QRect frame = frameGeometry();
    QPoint at(frame.left() + leftEdge->mapTo(this, QPoint(0, 0)).x() + Twips(60),
              frame.top() + lastClickY_ + Twips(600));
    while (auto name = session_.dialogs.AskName(this, offered, at)) {
        NameAnswer answer = apply(name->toStdString());
        if (answer.done) return true;
        if (refusal.sound) session_.sounds.PlayAsterisk();
        if (refusal.latch)
            session_.dialogs.AskAndLatch(this, Q(answer.refusal), refusal.icon, PromptButtons::Ok);
        else
            session_.dialogs.Ask(this, Q(answer.refusal), refusal.icon, PromptButtons::Ok);
        offered = *name;
    }
    return false;
}

// The name dialog of a group opens by the group list, that of a price list by its frame.
QWidget* ManagementWindow::EntryEdge(NameIndex index) const {
    return index == NameIndex::Groups ? static_cast<QWidget*>(groupColumn_) : priceFrame_;
}

ManagementWindow::RefusalStyle ManagementWindow::EntryRefusal(NameIndex index) {
    return {PromptIcon::Exclamation, false, MessagesLatchKeys(index)};
}

void ManagementWindow::NewEntry(NameIndex index) {
    if (RefuseWhileReadOnly(this, session_)) return;
    bool added =
        AskName(EntryEdge(index), "", EntryRefusal(index), [this, index](const std::string& name) {
            return session_.Apply([&](const DataPaths& paths, Settings& settings) {
                return NewEntryNamed(paths, settings, index, name);
            });
        });
    if (!added) return;
    LoadIndex(index);
    if (index == NameIndex::Groups) LoadJobs();
    // A new price list is opened for its first items at once.
    if (index == NameIndex::PriceLists) OpenPriceList();
}

void ManagementWindow::RenameEntry(NameIndex index) {
    if (RefuseWhileReadOnly(this, session_)) return;
    QString current = Selected(Column(index));
    if (current.isEmpty()) return;
    bool renamed = AskName(
        EntryEdge(index), current, EntryRefusal(index), [this, index](const std::string& name) {
            return session_.Apply([&](const DataPaths& paths, Settings& settings) {
                return RenameEntryTo(paths, settings, index, name);
            });
        });
    if (renamed) LoadIndex(index);
}

void ManagementWindow::DeleteEntry(NameIndex index) {
    if (RefuseWhileReadOnly(this, session_)) return;
    QString name = Selected(Column(index));
    if (name.isEmpty()) return;
    QString question = Q(DeleteEntryQuestion(index, name.toStdString()));
    PromptAnswer answer =
        MessagesLatchKeys(index)
            ? session_.dialogs.AskAndLatch(this, question, PromptIcon::Exclamation,
                                           PromptButtons::OkCancel)
            : session_.dialogs.Ask(this, question, PromptIcon::Exclamation,
                                   PromptButtons::OkCancel);
    if (answer != PromptAnswer::Ok) return;
    session_.Apply([index](const DataPaths& paths, Settings& settings) {
        quantora::DeleteEntry(paths, settings, index);
    });
    LoadIndex(index);
    if (index == NameIndex::Groups) LoadJobs();
}

void ManagementWindow::NewJob() {
    if (RefuseWhileReadOnly(this, session_)) return;
    std::string folder = session_.Paths.JobFolder(session_.Settings().CurrentGroup);
    std::string made;
    bool added =
        AskName(jobColumn_, "", {PromptIcon::None, true, true}, [&](const std::string& name) {
            JobNameAnswer answer = quantora::NewJob(folder, name);
            made = answer.name;
            return NameAnswer{answer.done, answer.refusal};
        });
    if (!added) return;
    LoadJobs();
    OpenJobNamed(made);  // a new job opens for costing at once
}

void ManagementWindow::OpenSelectedJob() {
    QString name = Selected(jobColumn_);
    if (!name.isEmpty()) OpenJobNamed(name.toStdString());
}

void ManagementWindow::OpenJobNamed(const std::string& name) {
    if (sheet_) return;
    quantora::OpenJob job = OpenJobForEditing(
        session_.Paths, session_.Paths.JobFolder(session_.Settings().CurrentGroup), name);
    session_.CurrentJobName = job.name;
    session_.CurrentJobPath = job.path;
    // The sheet prices the job as it opens; should that fail, this window is still there.
    sheet_ = new CostingSheetWindow(this, session_);
    sheet_->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet_, &CostingSheetWindow::closed, this, [this] {
        show();
        RequestRefresh();
    });
    hide();
    sheet_->show();
}

void ManagementWindow::FindJob() {
    if (sheet_) return;
    auto* box = new FindJobBox(this, session_.Paths);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QDialog::accepted, this, [this, box] {
        if (std::optional<FoundJob> found = box->Chosen())
            OpenJobInGroup(found->groupSlot, found->job);
    });
    box->open();
}

void ManagementWindow::ShowWhereUsed() {
    QString job = Selected(jobColumn_);
    if (sheet_ || job.isEmpty()) return;
    auto* box = new WhereUsedBox(
        this, "\"" + job + "\"",
        FindWhereUsed(session_.Paths, {true, session_.Settings().CurrentGroup, job.toStdString()}),
        true);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QDialog::accepted, this, [this, box] {
        if (std::optional<JobUse> use = box->Chosen()) OpenJobInGroup(use->groupSlot, use->job);
    });
    box->open();
}

void ManagementWindow::OpenJobInGroup(std::int16_t groupSlot, const std::string& job) {
    // As a double click on the job in its group: the group and the job selected, then open.
    session_.SelectEntry(NameIndex::Groups, groupSlot);
    RefreshLists();
    QList<QListWidgetItem*> rows = jobColumn_->findItems(Q(job), Qt::MatchExactly);
    if (!rows.isEmpty()) SelectRow(jobColumn_, jobColumn_->row(rows.front()));
    // The Enter that chose the job may still be held: its release is not for the sheet.
    session_.Keys.Set();
    OpenJobNamed(job);
}

void ManagementWindow::RenameSelectedJob() {
    if (RefuseWhileReadOnly(this, session_)) return;
    QString current = Selected(jobColumn_);
    if (current.isEmpty()) return;
    std::string folder = session_.Paths.JobFolder(session_.Settings().CurrentGroup);
    bool renamed =
        AskName(jobColumn_, current, {PromptIcon::None, true, true}, [&](const std::string& name) {
            JobNameAnswer answer = RenameJob(folder, current.toStdString(), name);
            return NameAnswer{answer.done, answer.refusal};
        });
    if (renamed) LoadJobs();
}

void ManagementWindow::PutSelectedJobOnClipboard(JobClipboard::State how) {
    if (RefuseWhileReadOnly(this, session_)) return;
    int row = SelectedRow(jobColumn_);
    if (row < 0) return;
    std::string name = jobColumn_->item(row)->text().toStdString();
    // A cut job leaves the column at once; its file stays until it is pasted.
    if (how == JobClipboard::State::Cut) delete jobColumn_->takeItem(row);
    PutOnClipboard(session_.Paths, session_.Settings().CurrentGroup, name, how, session_.Clipboard);
}

void ManagementWindow::PasteJob() {
    if (RefuseWhileReadOnly(this, session_)) return;
    std::int16_t group = session_.Settings().CurrentGroup;
    if (!session_.Clipboard.CanPasteInto(group)) return;
    if (auto question = PasteQuestion(session_.Paths.JobFolder(group), session_.Clipboard)) {
        PromptAnswer answer = session_.dialogs.AskAndLatch(
            this, Q(*question), PromptIcon::Exclamation, PromptButtons::OkCancel);
        if (answer != PromptAnswer::Ok) return;
    }
    quantora::PasteJob(session_.Paths, group, session_.Clipboard);
    LoadJobs();
}

void ManagementWindow::DeleteSelectedJob() {
    if (RefuseWhileReadOnly(this, session_)) return;
    QString name = Selected(jobColumn_);
    if (name.isEmpty()) return;
    PromptAnswer answer =
        session_.dialogs.AskAndLatch(this, Q(DeleteJobQuestion(name.toStdString())),
                                     PromptIcon::Exclamation, PromptButtons::OkCancel);
    if (answer != PromptAnswer::Ok) return;
    DeleteJob(session_.Paths.JobFolder(session_.Settings().CurrentGroup), name.toStdString());
    LoadJobs();
}

void ManagementWindow::OpenPriceList() {
    // With no list selected there is nothing to open: the request is ignored.
    QString list = Selected(priceListColumn_);
    if (list.isEmpty()) return;
    PriceListEditor editor(this, session_, list);
    editor.exec();
}

}  // namespace quantora
