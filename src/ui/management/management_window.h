// The management window: job groups, their jobs and the price lists side by side, with the
// menus and keys that act on them. Closing it ends the program.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

#include "manage/entry_operations.h"
#include "manage/job_clipboard.h"
#include "ui/common/dialogs.h"
#include "ui/costing/costing_sheet_window.h"

class QAction;
class QFrame;
class QListWidget;
class QMenu;
class QTimer;

namespace quantora {

class HelpPanel;
class Session;

class ManagementWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit ManagementWindow(Session& session);

    // Reloads the three columns at the next turn of the event loop (after the costing sheet).
    void RequestRefresh();
    void RefreshLists();

    // The caption with the clock, as start-up and the clock timer set it.
    void ShowClock();

    // The focus column: 1 groups, 2 jobs, 3 price lists.
    int FocusColumn() const { return focusColumn_; }

    // The costing sheet while a job is open in it, or null.
    CostingSheetWindow* Sheet() const { return sheet_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildColumns();
    void BuildHelpPanel();
    void BuildMenus();
    void ResizeForHelpPanel(bool shown);

    void LoadGroups();
    void LoadJobs();
    void LoadPriceLists();
    void LoadIndex(NameIndex index);

    QListWidget* Column(NameIndex index) const;
    QString Selected(const QListWidget* column) const;
    void PrepareGroupMenu();
    void PrepareJobMenu();
    void PreparePriceListMenu();
    // In a desk that only reads the folder, every action that would write in it is off.
    void ShowWritingActions();
    // The menu-bar opening of a column's menu: focus the column, then prepare the menu unless
    // it was popped up from the list and prepared already.
    void MenuOpened(QListWidget* column, void (ManagementWindow::*prepare)());

    bool PreviewKey(QWidget* receiver, QKeyEvent* key);
    void RightButtonReleased(QListWidget* column, QPoint at);
    void ColumnFocused(int column);
    void MoveFocus(int column);

    void GroupSelected();
    void PriceListSelected();
    // New, Rename and Delete of the "Job Groups" and "Price Lists" menus.
    void NewEntry(NameIndex index);
    void RenameEntry(NameIndex index);
    void DeleteEntry(NameIndex index);
    void OpenPriceList();
    // New Job and Open of the "Job Quantoras" menu, and the opening of a job by name: the
    // window hides and the costing sheet shows the job, repriced.
    void NewJob();
    void OpenSelectedJob();
    void OpenJobNamed(const std::string& name);
    // "Find Job..." (Ctrl+F): the find box, and the job chosen there opened in its group.
    void FindJob();
    // "Where Used..." for the selected job: the jobs that use it, any of them opened from there.
    void ShowWhereUsed();
    void OpenJobInGroup(std::int16_t groupSlot, const std::string& job);
    // Rename, Cut, Copy, Paste and Delete of the "Job Quantoras" menu.
    void RenameSelectedJob();
    void PutSelectedJobOnClipboard(JobClipboard::State how);
    void PasteJob();
    void DeleteSelectedJob();

    // How a refused name is told: the message's icon, whether the error sound plays first,
    // and whether the next key is ignored once the message closes.
    struct RefusalStyle {
        PromptIcon icon;
        bool sound;
        bool latch;
    };
    // Asks for a name until apply accepts it or the user cancels; true when accepted. A
    // refused name is explained and offered again. The dialog opens by the left edge of
    // leftEdge, below the last right-click.
    bool AskName(QWidget* leftEdge, QString offered, RefusalStyle refusal,
                 const std::function<NameAnswer(const std::string&)>& apply);
    QWidget* EntryEdge(NameIndex index) const;
    static RefusalStyle EntryRefusal(NameIndex index);

    Session& session_;
    QFrame* jobFrame_;
    QFrame* priceFrame_;
    QFrame* helpFrame_;
    QListWidget* groupColumn_;
    QListWidget* jobColumn_;
    QListWidget* priceListColumn_;

    QMenu* groupMenu_;
    QAction* renameGroup_;
    QAction* deleteGroup_;
    QMenu* jobMenu_;
    QAction* newJob_;
    QAction* openJob_;
    QAction* renameJob_;
    QAction* cutJob_;
    QAction* copyJob_;
    QAction* pasteJob_;
    QAction* deleteJob_;
    QAction* whereUsed_;
    QMenu* priceListMenu_;
    QAction* openPriceList_;
    QAction* renamePriceList_;
    QAction* deletePriceList_;
    HelpPanel* helpPanel_;

    QTimer* clockTimer_;
    QTimer* refreshTimer_;

    QPointer<CostingSheetWindow> sheet_;

    int focusColumn_ = 3;
    int lastClickY_ = 0;  // pixels within the list of the last right-button release
    QString shownClock_;
    // The actions that write in the data folder: those always offered to a desk that works
    // there, and those offered by what is selected.
    std::vector<QAction*> alwaysWriting_;
    std::vector<QAction*> selectionWriting_;
    // A reading desk has been asked whether to work in the folder once it became free.
    bool askedToWorkHere_ = false;
};

}  // namespace quantora
