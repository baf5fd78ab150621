#include "ui/common/where_used_box.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quantora {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

WhereUsedBox::WhereUsedBox(QWidget* parent, const QString& what, const WhereUsed& used,
                           bool canOpen)
    : QDialog(parent) {
    setObjectName("WhereUsed");
    setWindowTitle("Where Used");
    list_ = new QTreeWidget(this);
    list_->setObjectName("UsedBy");
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({"Group", "Job", "Quantity or through"});
    auto add = [this, &used](const JobUse& use, const QString& last) {
        list_->addTopLevelItem(new QTreeWidgetItem({Q(use.group), Q(use.job), last}));
        rows_.push_back(use);
    };
    for (const JobUse& use : used.direct) add(use, Q(UseDetail(use, used)));
    for (const JobUse& use : used.indirect) add(use, Q(UseDetail(use, used)));
    openableRows_ = static_cast<int>(rows_.size());
    for (const JobUse& use : used.unreadable) add(use, "cannot be read");
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (!rows_.empty()) list_->setCurrentItem(list_->topLevelItem(0));

    auto* label = new QLabel(Q(WhereUsedSummary(what.toStdString(), used)), this);
    label->setObjectName("UsedSummary");
    label->setWordWrap(true);
    // Says why a job that cannot be read does not open, where the user is looking.
    auto* note = new QLabel(this);
    note->setObjectName("UsedNote");
    note->setWordWrap(true);
    note->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addWidget(note);
    if (canOpen && !rows_.empty())
        layout->addWidget(new QLabel("Enter or a double click opens the job.", this));
    resize(560, 360);
    if (canOpen)
        connect(list_, &QTreeWidget::itemActivated, this, [this, note] {
            int row = list_->indexOfTopLevelItem(list_->currentItem());
            if (row < 0) return;
            const JobUse& use = rows_[static_cast<std::size_t>(row)];
            if (row >= openableRows_) {
                note->setText(Q(UnreadableJobNote(use)));
                note->show();
                return;
            }
            chosen_ = use;
            accept();
        });
}

}  // namespace quantora
