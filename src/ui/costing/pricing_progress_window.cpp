#include "ui/costing/pricing_progress_window.h"

#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "services/pause.h"
#include "ui/common/dialogs.h"
#include "ui/common/progress_bar.h"
#include "ui/common/shown_work.h"
#include "ui/common/window_placement.h"
#include "ui/common/window_scaling.h"
#include "ui/session.h"

namespace quantora {

namespace {

std::size_t Index(ProgressWindow window) {
    return window == ProgressWindow::Reload ? 0 : window == ProgressWindow::Job ? 1 : 2;
}

// The height of a window on the screen, its title bar included. Until the desktop has framed
// the window, Qt knows its inside alone; the style's title bar stands in for the frame then.
int FramedHeight(const QWidget& window) {
    int framed = window.frameGeometry().height();
    if (framed > window.height()) return framed;
    return window.height() +
           window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
}

}  // namespace

PricingProgressWindow::PricingProgressWindow(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowDoesNotAcceptFocus) {
    setWindowTitle(" Please wait.......");
    setModal(false);
    // It only shows: the keyboard stays with the window the user works in.
    setAttribute(Qt::WA_ShowWithoutActivating);
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

void PricingProgressWindow::Show(const std::string& jobName, std::int32_t divisor,
                                 const QWidget* below) {
    label_->setText(QString::fromStdString("Costing - " + jobName));
    // Sized and placed before it shows, so that showing lays nothing out again: a costing
    // that includes many jobs shows this window once for each.
    adjustSize();
    bar_->Begin(divisor);
    // Centred on the sheet's screen; the windows of included jobs one window lower, so the
    // open job's window stays in sight above them.
    QRect screen = parentWidget()->screen()->geometry();
    int top = screen.top() + (screen.height() - FramedHeight(*this)) / 2;
    if (below != nullptr) top += FramedHeight(*below);
    move(screen.left() + (screen.width() - width()) / 2, top);
    show();
    repaint();
}

PricingProgress::PricingProgress(QWidget* sheet, Session& session)
    : sheet_(sheet), session_(session) {}

void PricingProgress::Run(const std::function<void(PricingObserver&)>& pricing) {
    working_ = true;
    try {
        ShownWork::Run([&] { pricing(*this); }, [this] { CatchUp(); });
    } catch (...) {
        working_ = false;
        throw;
    }
    working_ = false;
}

PricingProgressWindow& PricingProgress::Window(ProgressWindow window) {
    std::size_t k = Index(window);
    // Made when first shown: most pricings never need the windows of sub-jobs.
    if (!windows_[k]) {
        const char* names[] = {"ProgForm", "ProgForm2", "ProgForm3"};
        windows_[k] = new PricingProgressWindow(sheet_);
        windows_[k]->setObjectName(names[k]);
    }
    return *windows_[k];
}

void PricingProgress::CatchUp() {
    for (std::size_t k = 0; k < windows_.size(); ++k) {
        std::int64_t lines = owed_[k].exchange(0);
        if (lines > 0 && windows_[k]) windows_[k]->Bar()->Advance(lines);
    }
}

void PricingProgress::ShowProgress(ProgressWindow window, const std::string& jobName,
                                   std::int32_t divisor) {
    // The lines read from here on are this window's; the window shows without the work
    // waiting for it.
    owed_[Index(window)] = 0;
    ShownWork::Post([this, window, jobName, divisor] {
        // While the open job is being repriced, the windows of the jobs it names open below.
        const QWidget* reload = windows_[0];
        bool below = window != ProgressWindow::Reload && reload && reload->isVisible();
        Window(window).Show(jobName, divisor, below ? reload : nullptr);
    });
}

void PricingProgress::StepProgress(ProgressWindow window) {
    ++owed_[Index(window)];
    // Pricing outside a worker grows the bar at once.
    if (!working_) CatchUp();
}

void PricingProgress::FillProgress(ProgressWindow window) {
    ShownWork::Post([this, window] { Window(window).Bar()->Complete(); });
}

void PricingProgress::CloseProgress(ProgressWindow window) {
    ShownWork::Post([this, window] {
        Window(window).hide();
        if (sheet_->isVisible()) sheet_->repaint();
    });
}

// On the worker: the windows go on painting meanwhile.
void PricingProgress::Pause(std::int16_t milliseconds) { quantora::Pause(milliseconds); }

void PricingProgress::CycleThroughOpenJob() {
    ShownWork::OnWindows([&] {
        session_.dialogs.Ask(sheet_, kCycleRefused, PromptIcon::Exclamation, PromptButtons::Ok);
    });
}

}  // namespace quantora
