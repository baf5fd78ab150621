#include "ui/management/find_job_box.h"

#include <QAbstractListModel>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QVBoxLayout>

namespace quantora {

// The jobs found, shown as the list asks for each row: ten thousand matches cost the list
// no more than ten.
class FindJobBox::Matches : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    void Show(std::vector<const FoundJob*> jobs) {
        beginResetModel();
        jobs_ = std::move(jobs);
        endResetModel();
    }
    const FoundJob* At(int row) const {
        return row >= 0 && row < static_cast<int>(jobs_.size())
                   ? jobs_[static_cast<std::size_t>(row)]
                   : nullptr;
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(jobs_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const FoundJob* job = At(index.row());
        if (!job || role != Qt::DisplayRole) return {};
        return QString::fromStdString(job->job) + "   (" + QString::fromStdString(job->group) + ")";
    }

  private:
    std::vector<const FoundJob*> jobs_;
};

FindJobBox::FindJobBox(QWidget* parent, const DataPaths& paths) : QDialog(parent), finder_(paths) {
    setObjectName("FindJob");
    setWindowTitle("Find Job");
    text_ = new QLineEdit(this);
    text_->setObjectName("FindText");
    text_->setPlaceholderText("Part of the job's name");
    matches_ = new Matches(this);
    results_ = new QListView(this);
    results_->setObjectName("FindResults");
    results_->setModel(matches_);
    results_->setUniformItemSizes(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Type part of the job's name:", this));
    layout->addWidget(text_);
    layout->addWidget(results_);
    nothingFound_ = new QLabel(this);
    nothingFound_->setObjectName("NothingFound");
    nothingFound_->hide();
    layout->addWidget(nothingFound_);
    resize(420, 320);
    text_->installEventFilter(this);
    connect(text_, &QLineEdit::textChanged, this, [this] { ShowMatches(); });
    connect(results_, &QListView::activated, this, [this] { Choose(); });
}

void FindJobBox::ShowMatches() {
    std::string text = text_->text().toStdString();
    matches_->Show(finder_.Matching(text));
    if (matches_->rowCount() > 0) results_->setCurrentIndex(matches_->index(0));
    bool none = matches_->rowCount() == 0 && text.find_first_not_of(' ') != std::string::npos;
    nothingFound_->setText(none ? QString::fromStdString(NothingFoundNote(text)) : QString());
    nothingFound_->setVisible(none);
}

void FindJobBox::Choose() {
    const FoundJob* job = matches_->At(results_->currentIndex().row());
    if (!job) return;
    chosen_ = *job;
    accept();
}

// The keys that choose among the jobs work while the text keeps the focus.
bool FindJobBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                Choose();
                return true;
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                QCoreApplication::sendEvent(results_, event);
                return true;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quantora
