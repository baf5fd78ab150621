#include "ui/costing/job_selector.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "manage/job_operations.h"
#include "manage/name_index.h"
#include "ui/common/key_preview.h"
#include "ui/common/slot_column.h"
#include "ui/common/window_scaling.h"
#include "ui/session.h"

namespace quantora {

namespace {

QLabel* Heading(const QString& text, QWidget* parent, QRect at) {
    auto* label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setGeometry(at);
    return label;
}

}  // namespace

JobSelector::JobSelector(QWidget* sheet, Session& session)
    : QDialog(sheet), session_(session), browsed_(session.Settings().CurrentGroup) {
    setObjectName("JobSelector");
    setWindowTitle(" Select Job");
    Heading("Jobs", this, {8, 6, 240, 18});
    jobs_ = new QListWidget(this);
    jobs_->setObjectName("JobList");
    jobs_->setGeometry(8, 26, 240, 300);
    Heading("Job Folders", this, {256, 6, 240, 18});
    groups_ = new QListWidget(this);
    groups_->setObjectName("FolderList");
    groups_->setGeometry(256, 26, 240, 300);
    QPalette grey = groups_->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Button));
    groups_->setPalette(grey);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("CancelBtn");
    cancel->setAutoDefault(false);
    cancel->setGeometry(400, 334, 96, 28);
    setFixedSize(504, 370);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(jobs_, &QListWidget::itemClicked, this, &JobSelector::Choose);
    groups_->installEventFilter(this);
    groups_->viewport()->installEventFilter(this);
    new KeyPreview(this, session_.Keys,
                   [this](QWidget*, QKeyEvent* key) { return PreviewKey(key); });
    ScaleForm(this);
    move(sheet->frameGeometry().topLeft());

    ShowSlotColumn(groups_,
                   LoadIndexColumn(session_.Paths, session_.Settings(), NameIndex::Groups));
    Browse(browsed_);
}

std::optional<ChosenJob> JobSelector::Pick() {
    chosen_.reset();
    exec();
    return chosen_;
}

void JobSelector::Browse(std::int16_t group) {
    browsed_ = group;
    jobs_->clear();
    for (const std::string& name :
         JobsToInclude(session_.Paths.JobFolder(group), group == session_.Settings().CurrentGroup,
                       session_.CurrentJobName))
        jobs_->addItem(QString::fromStdString(name));
    jobs_->setCurrentRow(jobs_->count() > 0 ? 0 : -1);
    jobs_->setFocus();
}

void JobSelector::Choose() {
    QListWidgetItem* job = jobs_->currentItem();
    if (job == nullptr || !SelectedSlot(groups_)) return;
    chosen_ = ChosenJob{browsed_, job->text().toStdString()};
    accept();
}

bool JobSelector::PreviewKey(QKeyEvent* key) {
    bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    bool escape = key->key() == Qt::Key_Escape;
    if (!enter && !escape) return false;
    if (key->type() == QEvent::KeyRelease && !key->isAutoRepeat()) {
        if (enter) Choose();
        if (escape) reject();
    }
    return true;
}

void JobSelector::closeEvent(QCloseEvent* event) {
    // Closed by the window manager: a cancel, and the selector is only hidden.
    event->ignore();
    reject();
}

bool JobSelector::eventFilter(QObject* watched, QEvent* event) {
    if (watched == groups_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        if (std::optional<std::int16_t> group = SelectedSlot(groups_)) Browse(*group);
        return false;
    }
    if (watched == groups_ && event->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason)
        jobs_->setFocus();
    return QDialog::eventFilter(watched, event);
}

}  // namespace quantora
