#include "ui/costing/pricing_progress_window.h"

#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "store/pause.h"
#include "ui/common/dialogs.h"
#include "ui/common/progress_bar.h"
#include "ui/common/window_placement.h"
#include "ui/common/window_scaling.h"
#include "ui/session.h"

namespace quantora {

PricingProgressWindow::PricingProgressWindow(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(" Please wait.......");
    setModal(false);
    label_ = new QLabel(this);
    label_->setObjectName("Label");
    bar_ = new ProgressBar(this);
    bar_->setFixedSize(300, 20);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ScaleForm(this);
}

void PricingProgressWindow::Show(const std::string& jobName, std::int32_t divisor, int rowsDown) {
    label_->setText(QString::fromStdString("Costing - " + jobName));
    // Sized and placed before it shows, so that showing lays nothing out again: a costing
    // that includes many jobs shows this window once for each.
    adjustSize();
    bar_->Begin(divisor);
    // Centred on the sheet's screen; the windows of included jobs sit below the open job's.
    QWidget* owner = parentWidget();
    QRect screen = owner->screen()->geometry();
    move(screen.left() + (screen.width() - width()) / 2,
         screen.top() + (screen.height() - height()) / 2 + rowsDown * frameGeometry().height());
    show();
    repaint();
}

PricingProgress::PricingProgress(QWidget* sheet, Session& session)
    : sheet_(sheet), session_(session) {}

PricingProgressWindow& PricingProgress::Window(ProgressWindow window) {
    std::size_t k = window == ProgressWindow::Reload ? 0 : window == ProgressWindow::Job ? 1 : 2;
    // Made when first shown: most pricings never need the windows of sub-jobs.
    if (!windows_[k]) {
        const char* names[] = {"ProgForm", "ProgForm2", "ProgForm3"};
        windows_[k] = new PricingProgressWindow(sheet_);
        windows_[k]->setObjectName(names[k]);
    }
    return *windows_[k];
}

void PricingProgress::ShowProgress(ProgressWindow window, const std::string& jobName,
                                   std::int32_t divisor) {
    // While the open job is being repriced, the windows of the jobs it names open lower.
    int rowsDown = window == ProgressWindow::Reload          ? 0
                   : windows_[0] && windows_[0]->isVisible() ? 1
                                                             : 0;
    Window(window).Show(jobName, divisor, rowsDown);
}

void PricingProgress::StepProgress(ProgressWindow window) { Window(window).Bar()->Advance(); }

void PricingProgress::FillProgress(ProgressWindow window) { Window(window).Bar()->Complete(); }

void PricingProgress::CloseProgress(ProgressWindow window) {
    Window(window).hide();
    if (sheet_->isVisible()) sheet_->repaint();
}

void PricingProgress::Pause(std::int16_t milliseconds) { quantora::Pause(milliseconds); }

void PricingProgress::CycleThroughOpenJob() {
    session_.dialogs.Ask(sheet_, kCycleRefused, PromptIcon::Exclamation, PromptButtons::Ok);
}

}  // namespace quantora
