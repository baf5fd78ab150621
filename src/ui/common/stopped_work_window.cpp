#include "ui/common/stopped_work_window.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ui/common/progress_bar.h"
#include "ui/common/shown_work.h"

namespace quantora {

StoppedWorkWindow::StoppedWorkWindow() {
    setObjectName("StoppedWork");
    setWindowTitle(" Please wait.......");
    auto* layout = new QVBoxLayout(this);
    message_ = new QLabel(this);
    message_->setObjectName("StoppedWorkMessage");
    message_->setWordWrap(true);
    message_->setMinimumWidth(360);
    bar_ = new ProgressBar(this);
    bar_->setFixedHeight(18);
    layout->addWidget(message_);
    layout->addWidget(bar_);
}

void StoppedWorkWindow::Run(const std::function<void(const StoppedImportProgress&)>& work) {
    ShownWork::Run(
        [&] {
            work([this](const std::string& list, std::size_t done, std::size_t total) {
                std::lock_guard hold(lock_);
                list_ = list;
                done_ = done;
                total_ = total;
            });
        },
        [this] { CatchUp(); });
    hide();
}

void StoppedWorkWindow::CatchUp() {
    std::string list;
    std::size_t done, total;
    {
        std::lock_guard hold(lock_);
        list = list_;
        done = done_;
        total = total_;
    }
    if (total == 0) return;
    if (list != shownList_ || !isVisible()) {
        shownList_ = list;
        shownDone_ = 0;
        message_->setText(QString::fromStdString(FinishingImportMessage(list)));
        bar_->Begin(static_cast<std::int64_t>(total));
        if (!isVisible()) show();
    }
    if (done > shownDone_) {
        bar_->Advance(static_cast<std::int64_t>(done - shownDone_));
        shownDone_ = done;
    }
}

}  // namespace quantora
