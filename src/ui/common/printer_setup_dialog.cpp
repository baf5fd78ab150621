#include "ui/common/printer_setup_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/common/window_placement.h"
#include "ui/common/window_scaling.h"

namespace quantora {

PrinterSetupDialog::PrinterSetupDialog(QWidget* caller, Session& session,
                                       const PrinterDefaults& current)
    : QDialog(caller), current_(current), papers_(PapersOf(current)) {
    setObjectName("PrinterSetup");
    setWindowTitle("Print Setup");

    paper_ = new QComboBox(this);
    paper_->setObjectName("Paper");
    for (const QPageSize& paper : papers_) {
        paper_->addItem(paper.name());
        if (paper.isEquivalentTo(current.paper)) paper_->setCurrentIndex(paper_->count() - 1);
    }
    auto* portrait = new QRadioButton("&Portrait", this);
    portrait->setObjectName("Portrait");
    landscape_ = new QRadioButton("&Landscape", this);
    landscape_->setObjectName("Landscape");
    (current.orientation == QPageLayout::Landscape ? landscape_ : portrait)->setChecked(true);
    auto* orientation = new QHBoxLayout;
    orientation->addWidget(portrait);
    orientation->addWidget(landscape_);

    auto* form = new QFormLayout;
    form->addRow("Printer:", new QLabel(current.printer, this));
    auto* paperLabel = new QLabel("P&aper:", this);
    paperLabel->setBuddy(paper_);
    form->addRow(paperLabel, paper_);
    form->addRow("Orientation:", orientation);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("OKBtn");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("CancelBtn");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ScaleForm(this);
    adjustSize();
    CentreOnScreenOf(this, caller, session);
}

PrinterDefaults PrinterSetupDialog::Chosen() const {
    PrinterDefaults chosen = current_;
    if (paper_->currentIndex() >= 0) chosen.paper = papers_[paper_->currentIndex()];
    chosen.orientation = landscape_->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
    return chosen;
}

}  // namespace quantora
