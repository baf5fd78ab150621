#include "ui/edit_window.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>

#include "manage/name_index.h"
#include "platform/shell.h"
#include "store/clock_text.h"
#include "store/data_file.h"
#include "ui/about_form.h"
#include "ui/app_state.h"
#include "ui/name_it.h"
#include "ui/prices_window.h"
#include "ui/prompt.h"
#include "ui/window_scaling.h"

namespace quantora {

namespace {

constexpr int kSlotRole = Qt::UserRole;
const QColor kHelpYellow(255, 255, 192);
constexpr const char* kNameExists = "Name already exists - Please enter another.    ";

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

// Fills a column with named slots in the given (sorted) order.
void FillSlots(QListWidget* list, const std::vector<NamedSlot>& entries) {
    list->clear();
    for (const NamedSlot& entry : entries) {
        auto* item = new QListWidgetItem(Q(entry.name), list);
        item->setData(kSlotRole, entry.slot);
    }
}

int SelectedRow(const QListWidget* list) {
    QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}

void SelectRow(QListWidget* list, int row) {
    list->setCurrentRow(row);
    if (row < 0) list->clearSelection();
}

// A menu item captioned with its prefix and the selected name, or plain and disabled.
void SetNamedItem(QAction* action, const QString& plain, const QString& prefix,
                  const QString& name) {
    action->setEnabled(!name.isEmpty());
    // "&" would mark a shortcut letter in a menu; a name shows it as it is.
    action->setText(name.isEmpty() ? plain : prefix + QString(name).replace("&", "&&"));
}

}  // namespace

EditWindow::EditWindow(AppState& state) : state_(state) {
    setObjectName("Edit");
    BuildColumns();
    BuildHelpPanel();
    BuildMenus();

    Timerclock = new QTimer(this);
    Timerclock->setInterval(2000);
    connect(Timerclock, &QTimer::timeout, this, &EditWindow::ShowClock);
    Timerclock->start();
    TimerRefresh = new QTimer(this);
    TimerRefresh->setSingleShot(true);
    TimerRefresh->setInterval(1);
    connect(TimerRefresh, &QTimer::timeout, this, &EditWindow::RefreshLists);

    ScaleForm(this, true);
    centralWidget()->setFixedSize(768, 474);
    SetHelpPanel(state_.Settings.EditHelp != 0);
    setWindowTitle(kProgramTitle);
    RefreshLists();
}

void EditWindow::BuildColumns() {
    auto* central = new QWidget(this);
    setCentralWidget(central);

    JobFrame = new QFrame(central);
    JobFrame->setObjectName("JobFrame");
    JobFrame->setFrameShape(QFrame::StyledPanel);
    JobFrame->setGeometry(8, 8, 496, 300);
    BoldLabel("Job Groups", JobFrame, {8, 6, 232, 18});
    FolderList = new QListWidget(JobFrame);
    FolderList->setObjectName("FolderList");
    FolderList->setGeometry(8, 28, 232, 264);
    BoldLabel("Job Quantoras", JobFrame, {256, 6, 232, 18});
    JobList = new QListWidget(JobFrame);
    JobList->setObjectName("JobList");
    JobList->setGeometry(256, 28, 232, 264);

    PriceFrame = new QFrame(central);
    PriceFrame->setObjectName("PriceFrame");
    PriceFrame->setFrameShape(QFrame::StyledPanel);
    PriceFrame->setGeometry(512, 8, 248, 300);
    BoldLabel("Price Lists", PriceFrame, {8, 6, 232, 18});
    PriceList = new QListWidget(PriceFrame);
    PriceList->setObjectName("PriceList");
    PriceList->setGeometry(8, 28, 232, 264);

    for (QListWidget* list : {FolderList, JobList, PriceList}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setAutoFillBackground(true);
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
    }
    connect(PriceList, &QListWidget::itemDoubleClicked, this, &EditWindow::OpenPriceList);
    setTabOrder(PriceList, FolderList);
    setTabOrder(FolderList, JobList);
    PriceList->setFocus();  // the price lists come first, in focus as in tab order
    // The price list column starts white, the other two grey, until a column takes focus.
    QPalette white = PriceList->palette();
    white.setColor(QPalette::Base, palette().color(QPalette::Base));
    PriceList->setPalette(white);
    for (QListWidget* list : {FolderList, JobList}) {
        QPalette grey = list->palette();
        grey.setColor(QPalette::Base, palette().color(QPalette::Button));
        list->setPalette(grey);
    }
}

void EditWindow::BuildHelpPanel() {
    HelpFrame = new QFrame(centralWidget());
    HelpFrame->setObjectName("HelpFrame");
    HelpFrame->setGeometry(8, 316, 752, 150);
    HelpFrame->setAutoFillBackground(true);
    QPalette yellow = HelpFrame->palette();
    yellow.setColor(QPalette::Window, kHelpYellow);
    HelpFrame->setPalette(yellow);
    HelpText(
        "Welcome - This is your management window. From here you can add, delete, rename "
        "and open your job costings and price lists.",
        HelpFrame, {8, 6, 736, 36});
    HelpText(
        "In this column, you can create any number of groups. Groups are used to keep "
        "related jobs together. Each group can contain any number of jobs.",
        HelpFrame, {16, 48, 232, 96});
    HelpText(
        "This column holds the names of the jobs in the selected group. Each job is a "
        "costing of quantity * price of items chosen from your price lists.",
        HelpFrame, {264, 48, 232, 96});
    HelpText(
        "This column shows the names of your price lists. You must open and create at "
        "least one price list before you can start costing jobs.",
        HelpFrame, {512, 48, 232, 96});
}

void EditWindow::BuildMenus() {
    auto named = [](QAction* action, const char* name) {
        action->setObjectName(name);
        return action;
    };
    FM = menuBar()->addMenu("Job Groups");
    FM->setObjectName("FM");
    FMNew = named(FM->addAction("New Group"), "FMNew");
    FMRename = named(FM->addAction("Rename"), "FMRename");
    named(FM->addSeparator(), "FMDash");
    FMDelete = named(FM->addAction("Delete"), "FMDelete");

    JM = menuBar()->addMenu("Job Quantoras");
    JM->setObjectName("JM");
    JMNew = named(JM->addAction("New Job"), "JMNew");
    JMOpen = named(JM->addAction("Open"), "JMOpen");
    JMRename = named(JM->addAction("Rename"), "JMRename");
    named(JM->addSeparator(), "JMDash");
    JMCut = named(JM->addAction("Cut"), "JMCut");
    JMCopy = named(JM->addAction("Copy"), "JMCopy");
    JMPaste = named(JM->addAction("Paste"), "JMPaste");
    JMDelete = named(JM->addAction("Delete"), "JMDelete");

    LM = menuBar()->addMenu("Price Lists");
    LM->setObjectName("LM");
    LMNew = named(LM->addAction("New Price List"), "LMNew");
    LMOpen = named(LM->addAction("Open"), "LMOpen");
    LMRename = named(LM->addAction("Rename"), "LMRename");
    named(LM->addSeparator(), "LMDash");
    LMDelete = named(LM->addAction("Delete"), "LMDelete");

    MnuTools = menuBar()->addMenu("Tools");
    MnuTools->setObjectName("MnuTools");
    MnuBackup = named(MnuTools->addAction("Backup and Restore"), "MnuBackup");

    HM = menuBar()->addMenu("Help");
    HM->setObjectName("HM");
    HMpaneloff = named(HM->addAction("Hide Help Panel"), "HMpaneloff");
    HMPanelOn = named(HM->addAction("Show Help Panel"), "HMPanelOn");
    HMDocs = named(HM->addAction("Documentation"), "HMDocs");
    named(HM->addSeparator(), "HMdash");
    HMAbout = named(HM->addAction("About Quantora"), "HMAbout");
    HMpaneloff->setCheckable(true);
    HMPanelOn->setCheckable(true);

    connect(FM, &QMenu::aboutToShow, this,
            [this] { MenuOpened(FolderList, &EditWindow::PrepareGroupMenu); });
    connect(JM, &QMenu::aboutToShow, this,
            [this] { MenuOpened(JobList, &EditWindow::PrepareJobMenu); });
    connect(LM, &QMenu::aboutToShow, this,
            [this] { MenuOpened(PriceList, &EditWindow::PreparePriceMenu); });
    connect(HM, &QMenu::aboutToShow, this, [this] {
        bool shown = state_.Settings.EditHelp != 0;
        HMpaneloff->setChecked(!shown);
        HMpaneloff->setEnabled(shown);
        HMPanelOn->setChecked(shown);
        HMPanelOn->setEnabled(!shown);
    });

    for (NameIndex index : {NameIndex::Groups, NameIndex::PriceLists}) {
        bool groups = index == NameIndex::Groups;
        connect(groups ? FMNew : LMNew, &QAction::triggered, this,
                [this, index] { NewEntry_Click(index); });
        connect(groups ? FMRename : LMRename, &QAction::triggered, this,
                [this, index] { RenameEntry_Click(index); });
        connect(groups ? FMDelete : LMDelete, &QAction::triggered, this,
                [this, index] { DeleteEntry_Click(index); });
    }
    connect(LMOpen, &QAction::triggered, this, &EditWindow::OpenPriceList);
    connect(HMpaneloff, &QAction::triggered, this, [this] { SetHelpPanel(false); });
    connect(HMPanelOn, &QAction::triggered, this, [this] { SetHelpPanel(true); });
    connect(HMDocs, &QAction::triggered, this, &EditWindow::OpenDocumentation);
    connect(HMAbout, &QAction::triggered, this, [this] {
        AboutForm about(this, state_);
        about.exec();
    });
}

void EditWindow::SetHelpPanel(bool shown) {
    bool wasShown = !HelpFrame->isHidden();
    if (state_.Settings.EditHelp != (shown ? 1 : 0)) {
        state_.Settings.EditHelp = shown ? 1 : 0;
        state_.SaveSettings();
    }
    HelpFrame->setVisible(shown);
    // The window shrinks by the panel and the 90-twip gap above it, and grows back by as much.
    int change = HelpFrame->height() + Twips(90);
    QWidget* central = centralWidget();
    if (wasShown && !shown) central->setFixedHeight(central->height() - change);
    if (!wasShown && shown) central->setFixedHeight(central->height() + change);
    adjustSize();
}

void EditWindow::RequestRefresh() { TimerRefresh->start(); }

void EditWindow::RefreshLists() {
    TimerRefresh->stop();
    LoadGroups();
    LoadJobs();
    LoadPriceLists();
}

void EditWindow::LoadGroups() { LoadIndex(NameIndex::Groups, FolderList); }

void EditWindow::LoadJobs() {
    JobList->clear();
    for (const std::string& name :
         SortedJobNames(state_.Paths.JobFolder(state_.Settings.CurrentGroup)))
        JobList->addItem(Q(name));
    SelectRow(JobList, JobList->count() > 0 ? 0 : -1);
}

void EditWindow::LoadPriceLists() { LoadIndex(NameIndex::PriceLists, PriceList); }

// Lists an index in its column and selects the current entry, whose folder is made if it
// went missing. With no current entry listed, nothing is selected.
void EditWindow::LoadIndex(NameIndex index, QListWidget* column) {
    std::vector<NamedSlot> entries = SortedEntries(state_.Paths, index);
    FillSlots(column, entries);
    std::int16_t slot = CurrentSlot(state_.Settings, index);
    const NamedSlot* current = SelectedEntry(entries, slot);
    SelectRow(column, current ? static_cast<int>(current - entries.data()) : -1);
    if (current) EnsureFolder(EntryFolder(state_.Paths, index, slot));
}

void EditWindow::ShowClock() {
    QString clock = Q(DateTimeText(ClockNow()));
    if (clock == shownClock_) return;
    shownClock_ = clock;
    setWindowTitle(Q(MainCaption(clock.toStdString())));
}

QString EditWindow::SelectedGroup() const {
    int row = SelectedRow(FolderList);
    return row < 0 ? QString() : FolderList->item(row)->text();
}

QString EditWindow::SelectedJob() const {
    int row = SelectedRow(JobList);
    return row < 0 ? QString() : JobList->item(row)->text();
}

QString EditWindow::SelectedPriceList() const {
    int row = SelectedRow(PriceList);
    return row < 0 ? QString() : PriceList->item(row)->text();
}

void EditWindow::MenuOpened(QListWidget* column, void (EditWindow::*prepare)()) {
    column->setFocus();
    if (state_.SkipMenuOpen) {
        state_.SkipMenuOpen = false;
        return;
    }
    (this->*prepare)();
}

void EditWindow::PrepareGroupMenu() {
    QString group = SelectedGroup();
    SetNamedItem(FMRename, "Rename", "Rename....    ", group);
    SetNamedItem(FMDelete, "Delete", "Delete......    ", group);
    if (FolderList->count() == 1) FMDelete->setEnabled(false);  // the last group stays
}

void EditWindow::PrepareJobMenu() {
    QString job = SelectedJob();
    SetNamedItem(JMRename, "Rename", "Rename...    ", job);
    SetNamedItem(JMDelete, "Delete", "Delete.....    ", job);
    SetNamedItem(JMOpen, "Open", "Open......    ", job);
    SetNamedItem(JMCut, "Cut", "Cut........     ", job);
    SetNamedItem(JMCopy, "Copy", "Copy......     ", job);
    // A job is never pasted into the group it came from.
    bool canPaste = state_.ClipState > 0 && state_.Settings.CurrentGroup != state_.ClipGroup;
    QString clip = Q(state_.ClipName).trimmed();
    SetNamedItem(JMPaste, "Paste", "Paste......    ", canPaste ? clip : QString());
    JMNew->setEnabled(true);
}

void EditWindow::PreparePriceMenu() {
    QString list = SelectedPriceList();
    SetNamedItem(LMRename, "Rename", "Rename......    ", list);
    SetNamedItem(LMDelete, "Delete", "Delete........    ", list);
    SetNamedItem(LMOpen, "Open", "Open.........    ", list);
    LMNew->setEnabled(true);
}

bool EditWindow::eventFilter(QObject* watched, QEvent* event) {
    for (QListWidget* list : {FolderList, JobList, PriceList}) {
        if (watched == list->viewport()) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            bool rightButton = (event->type() == QEvent::MouseButtonPress ||
                                event->type() == QEvent::MouseButtonDblClick ||
                                event->type() == QEvent::MouseButtonRelease) &&
                               mouse->button() == Qt::RightButton;
            // The right button never changes the selection: the menu acts on the selected entry.
            if (rightButton && event->type() == QEvent::MouseButtonRelease)
                ListRightButtonUp(list, mouse->position().toPoint());
            if (rightButton) return true;
            if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
                if (list == FolderList) FolderList_Select();
                if (list == PriceList) PriceList_Select();
            }
            return false;
        }
        if (watched == list) {
            if (event->type() == QEvent::FocusIn)
                ColumnFocused(list == FolderList ? 1 : list == JobList ? 2 : 3);
            if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
                return ListKeyEvent(list, static_cast<QKeyEvent*>(event));
            return false;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool EditWindow::ListKeyEvent(QListWidget* list, QKeyEvent* key) {
    if (key->isAutoRepeat() && key->type() == QEvent::KeyRelease) return false;
    if (state_.TakeIgnoredKey()) return true;
    bool sideways = key->key() == Qt::Key_Left || key->key() == Qt::Key_Right;
    if (key->type() == QEvent::KeyPress) return sideways;  // the lists never see Left and Right

    if (key->key() == Qt::Key_Left) MoveFocus(focusColumn_ - 1);
    if (key->key() == Qt::Key_Right) MoveFocus(focusColumn_ + 1);
    if (key->key() == Qt::Key_F1) OpenDocumentation();
    if (list == FolderList) FolderList_Select();
    if (list == PriceList) {
        PriceList_Select();
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) OpenPriceList();
    }
    return sideways;
}

void EditWindow::MoveFocus(int column) {
    if (column == 1) FolderList->setFocus();
    if (column == 2) JobList->setFocus();
    if (column == 3) PriceList->setFocus();
}

void EditWindow::ColumnFocused(int column) {
    focusColumn_ = column;
    QListWidget* lists[] = {FolderList, JobList, PriceList};
    for (int i = 0; i < 3; ++i) {
        QPalette p = lists[i]->palette();
        p.setColor(QPalette::Base,
                   palette().color(i + 1 == column ? QPalette::Base : QPalette::Button));
        lists[i]->setPalette(p);
    }
}

void EditWindow::ListRightButtonUp(QListWidget* list, QPoint at) {
    QMenu* menu = list == FolderList ? FM : list == JobList ? JM : LM;
    if (list == FolderList) PrepareGroupMenu();
    if (list == JobList) PrepareJobMenu();
    if (list == PriceList) PreparePriceMenu();
    LastClickY = at.y();
    state_.SkipMenuOpen = true;
    menu->popup(list->viewport()->mapToGlobal(at));
}

void EditWindow::FolderList_Select() {
    int row = SelectedRow(FolderList);
    if (row < 0) return;
    auto slot = static_cast<std::int16_t>(FolderList->item(row)->data(kSlotRole).toInt());
    SelectEntry(state_.Paths, state_.Settings, NameIndex::Groups, slot);
    LoadJobs();
}

void EditWindow::PriceList_Select() {
    int row = SelectedRow(PriceList);
    if (row < 0) return;
    auto slot = static_cast<std::int16_t>(PriceList->item(row)->data(kSlotRole).toInt());
    SelectEntry(state_.Paths, state_.Settings, NameIndex::PriceLists, slot);
}

bool EditWindow::AskName(QString offered, QWidget* leftEdge,
                         const std::function<SlotChange(const std::string&)>& apply) {
    QRect frame = frameGeometry();
    QPoint at(frame.left() + leftEdge->mapTo(this, QPoint(0, 0)).x() + Twips(60),
              frame.top() + LastClickY + Twips(600));
    while (auto name = NameIt::Ask(this, state_, offered, at)) {
        SlotChange outcome = apply(name->toStdString());
        if (outcome == SlotChange::Done) return true;
        state_.prompter->Ask(
            this,
            outcome == SlotChange::Full
                ? "There is no room for another name - Please delete one first.    "
                : kNameExists,
            PromptIcon::Exclamation, PromptButtons::Ok);
        state_.IgnoreNextKey = true;
        offered = *name;
    }
    return false;
}

// The group and price list operations differ only in their index, their column and what
// follows them.
QWidget* EditWindow::NameDialogEdge(NameIndex index) const {
    return index == NameIndex::Groups ? static_cast<QWidget*>(FolderList) : PriceFrame;
}

QString EditWindow::SelectedEntryName(NameIndex index) const {
    return index == NameIndex::Groups ? SelectedGroup() : SelectedPriceList();
}

void EditWindow::ReloadIndex(NameIndex index) {
    if (index == NameIndex::Groups) {
        LoadGroups();
        LoadJobs();
    } else {
        LoadPriceLists();
    }
}

void EditWindow::NewEntry_Click(NameIndex index) {
    bool added = AskName("", NameDialogEdge(index), [this, index](const std::string& name) {
        return NewEntry(state_.Paths, state_.Settings, index, name).outcome;
    });
    if (!added) return;
    ReloadIndex(index);
    // A new price list is opened for its first items at once.
    if (index == NameIndex::PriceLists) OpenPriceList();
}

void EditWindow::RenameEntry_Click(NameIndex index) {
    QString current = SelectedEntryName(index);
    if (current.isEmpty()) return;
    bool renamed = AskName(current, NameDialogEdge(index), [this, index](const std::string& name) {
        return RenameEntry(state_.Paths, state_.Settings, index, name);
    });
    if (renamed) ReloadIndex(index);
}

void EditWindow::DeleteEntry_Click(NameIndex index) {
    QString name = SelectedEntryName(index);
    if (name.isEmpty()) return;
    QString question =
        index == NameIndex::Groups
            ? "Are you sure you want to delete " + name + "    \n\nAnd all its contents?    "
            : "Are you sure you want to delete    \n\n" + name + "    ";
    PromptAnswer answer =
        state_.prompter->Ask(this, question, PromptIcon::Exclamation, PromptButtons::OkCancel);
    state_.IgnoreNextKey = true;
    if (answer != PromptAnswer::Ok) return;
    DeleteEntry(state_.Paths, state_.Settings, index);
    ReloadIndex(index);
}

void EditWindow::OpenPriceList() {
    // With no list selected there is nothing to open: the request is ignored.
    QString list = SelectedPriceList();
    if (list.isEmpty()) return;
    PricesWindow editor(this, state_, list);
    editor.exec();
}

void EditWindow::OpenDocumentation() { OpenDocument(state_.Measures.ProgramFolder + "Help/1.htm"); }

}  // namespace quantora
