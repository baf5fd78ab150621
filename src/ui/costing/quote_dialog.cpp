#include "ui/costing/quote_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/common/window_scaling.h"

namespace quantora {

QuoteDialog::QuoteDialog(QWidget* caller, const QuoteTerms& offered) : QDialog(caller) {
    setObjectName("QuoteForm");
    setWindowTitle("Print Quote");

    customer_ = new QLineEdit(QString::fromStdString(offered.customer), this);
    customer_->setObjectName("QuoteCustomer");
    note_ = new QPlainTextEdit(QString::fromStdString(offered.note), this);
    note_->setObjectName("QuoteNote");
    // Tab leaves the note for the next field, as in every other field of the program.
    note_->setTabChangesFocus(true);
    note_->setFixedHeight(QFontMetrics(note_->font()).lineSpacing() * 4 + 12);
    markup_ = new QSpinBox(this);
    markup_->setObjectName("QuoteMarkup");
    markup_->setRange(0, kMaxMarkup);
    markup_->setSuffix(" %");
    markup_->setValue(offered.markup);
    showUnitPrices_ = new QCheckBox("Show &unit prices", this);
    showUnitPrices_->setObjectName("QuoteShowPrices");
    showUnitPrices_->setChecked(offered.showUnitPrices);

    auto* form = new QFormLayout;
    form->addRow("&Customer:", customer_);
    form->addRow("&Note:", note_);
    form->addRow("&Markup on cost:", markup_);
    form->addRow("", showUnitPrices_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("QuoteOk");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    customer_->setMinimumWidth(QFontMetrics(customer_->font()).averageCharWidth() * 40);
    ScaleForm(this);
    adjustSize();
    customer_->setFocus();
}

QuoteTerms QuoteDialog::Terms() const {
    return {customer_->text().toStdString(), note_->toPlainText().toStdString(), markup_->value(),
            showUnitPrices_->isChecked()};
}

}  // namespace quantora
