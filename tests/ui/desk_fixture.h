// What the costing sheet's window tests share: the management window over a fresh data
// folder, and the sheet it opens, read through the design's control names.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "ui/costing/costing_sheet_window.h"
#include "ui/management/management_window.h"
#include "ui_test_support.h"

namespace quantora::testing {

class Desk {
  protected:
    // The management window shown over a fresh environment (init).
    void StartDesk() {
        env = std::make_unique<Environment>();
        window = std::make_unique<ManagementWindow>(*env->session);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    // Closes a sheet left open without saving, then everything (cleanup).
    void FinishDesk() {
        if (Sheet()) {
            env->dialogs.answers = {PromptAnswer::No};
            Sheet()->close();
            QTRY_VERIFY(!Sheet());
        }
        window.reset();
        env.reset();
    }

    Session& Now() { return *env->session; }
    CostingSheetWindow* Sheet() { return window->Sheet(); }
    template <typename T>
    T* In(const QString& name) {
        return Sheet()->findChild<T*>(name);
    }
    QLineEdit* Quant(int row) { return In<QLineEdit>(QString("Quant%1").arg(row)); }
    QString Label(const char* column, int row) {
        return In<QLabel>(QString("%1%2").arg(column).arg(row))->text();
    }

    // Opens a saved job of the current group with Enter in the job column, as a user does,
    // and puts the focus in the first row.
    void OpenJob(const QString& name) {
        window->RefreshLists();
        auto* jobs = window->findChild<QListWidget*>("JobList");
        jobs->setCurrentItem(jobs->findItems(name, Qt::MatchExactly).front());
        jobs->setFocus();
        QTest::keyClick(jobs, Qt::Key_Return);
        QVERIFY(Sheet());
        // The keyboard's shortcuts follow the active window, which the desktop gives the sheet
        // at its next turn to events.
        QTRY_VERIFY(Sheet()->isActiveWindow());
        Quant(0)->setFocus();
    }

    std::unique_ptr<Environment> env;
    std::unique_ptr<ManagementWindow> window;
};

}  // namespace quantora::testing
