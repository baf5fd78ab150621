// The management window: job groups, their jobs and the price lists side by side, with the
// menus and keys that act on them. Closing it ends the program.
#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>

#include "manage/name_index.h"
#include "store/name_slots.h"

class QAction;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QTimer;

namespace quantora {

struct AppState;

class EditWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit EditWindow(AppState& state);

    // Reloads the three columns at the next turn of the event loop (after the costing sheet).
    void RequestRefresh();
    void RefreshLists();
    void LoadGroups();
    void LoadJobs();
    void LoadPriceLists();

    // The caption with the clock, as start-up and the clock timer set it.
    void ShowClock();

    // The selected entries, or nothing.
    QString SelectedGroup() const;
    QString SelectedJob() const;
    QString SelectedPriceList() const;

    // The focus column: 1 groups, 2 jobs, 3 price lists.
    int FocusColumn() const { return focusColumn_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void LoadIndex(NameIndex index, QListWidget* column);
    void BuildColumns();
    void BuildHelpPanel();
    void BuildMenus();
    void SetHelpPanel(bool shown);

    void PrepareGroupMenu();
    void PrepareJobMenu();
    void PreparePriceMenu();
    // The menu-bar opening of a column's menu: focus the column, then prepare the menu unless
    // it was popped up from the list and prepared already.
    void MenuOpened(QListWidget* column, void (EditWindow::*prepare)());

    bool ListKeyEvent(QListWidget* list, QKeyEvent* key);
    void ListRightButtonUp(QListWidget* list, QPoint at);
    void ColumnFocused(int column);
    void MoveFocus(int column);

    void FolderList_Select();
    void PriceList_Select();
    // New, Rename and Delete of the "Job Groups" and "Price Lists" menus.
    void NewEntry_Click(NameIndex index);
    void RenameEntry_Click(NameIndex index);
    void DeleteEntry_Click(NameIndex index);
    QWidget* NameDialogEdge(NameIndex index) const;
    QString SelectedEntryName(NameIndex index) const;
    void ReloadIndex(NameIndex index);
    void OpenPriceList();
    // Asks for a name until apply accepts it or the user cancels; true when accepted. A
    // refused name is explained and offered again. The dialog opens by the left edge of
    // leftEdge, below the last right-click.
    bool AskName(QString offered, QWidget* leftEdge,
                 const std::function<SlotChange(const std::string&)>& apply);

    void OpenDocumentation();

    AppState& state_;
    QFrame* JobFrame;
    QFrame* PriceFrame;
    QFrame* HelpFrame;
    QListWidget* FolderList;
    QListWidget* JobList;
    QListWidget* PriceList;

    QMenu* FM;
    QAction* FMNew;
    QAction* FMRename;
    QAction* FMDelete;
    QMenu* JM;
    QAction* JMNew;
    QAction* JMOpen;
    QAction* JMRename;
    QAction* JMCut;
    QAction* JMCopy;
    QAction* JMPaste;
    QAction* JMDelete;
    QMenu* LM;
    QAction* LMNew;
    QAction* LMOpen;
    QAction* LMRename;
    QAction* LMDelete;
    QMenu* MnuTools;
    QAction* MnuBackup;
    QMenu* HM;
    QAction* HMpaneloff;
    QAction* HMPanelOn;
    QAction* HMDocs;
    QAction* HMAbout;

    QTimer* Timerclock;
    QTimer* TimerRefresh;

    int focusColumn_ = 3;
    int LastClickY = 0;  // pixels within the list of the last right-button release
    QString shownClock_;
};

}  // namespace quantora
