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
    auto add = [this](const JobUse& use, const QString& last) {
        list_->addTopLevelItem(new QTreeWidgetItem({Q(use.group), Q(use.job), last}));
        rows_.push_back(use);
    };
    for (const JobUse& use : used.direct) add(use, Q(QuantityText(use.quantity)));
    for (const JobUse& use : used.indirect) {
        QStringList through;
        for (const std::string& job : use.through) through << Q(job);
        add(use, "through " + through.join(", "));
    }
    openableRows_ = static_cast<int>(rows_.size());
    for (const JobUse& use : used.unreadable) add(use, "cannot be read");
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (!rows_.empty()) list_->setCurrentItem(list_->topLevelItem(0));

    QString summary = used.direct.empty() && used.indirect.empty()
                          ? QString("No saved job uses %1.").arg(what)
                          : QString("%1 is used by %2 %3 directly and %4 through other jobs.")
                                .arg(what)
                                .arg(used.direct.size())
                                .arg(used.direct.size() == 1 ? "job" : "jobs")
                                .arg(used.indirect.size());
    auto* label = new QLabel(summary, this);
    label->setObjectName("UsedSummary");
    label->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    if (canOpen && !rows_.empty())
        layout->addWidget(new QLabel("Enter or a double click opens the job.", this));
    resize(560, 360);
    if (canOpen)
        connect(list_, &QTreeWidget::itemActivated, this, [this] {
            int row = list_->indexOfTopLevelItem(list_->currentItem());
            if (row < 0 || row >= openableRows_) return;  // a job that cannot be read stays shut
            chosen_ = rows_[static_cast<std::size_t>(row)];
            accept();
        });
}

}  // namespace quantora
