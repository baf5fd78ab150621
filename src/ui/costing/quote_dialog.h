// "Print Quote": what goes on the customer's quote, the customer's name, a note of a few lines,
// the markup on cost and whether the unit prices show, before the print-out is chosen.
#pragma once

#include <QDialog>

#include "costing/quote.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

namespace quantora {

class QuoteDialog : public QDialog {
    Q_OBJECT
  public:
    // Filled from offered; OK goes on to the print options.
    QuoteDialog(QWidget* caller, const QuoteTerms& offered);

    QuoteTerms Terms() const;

  private:
    QLineEdit* customer_;
    QPlainTextEdit* note_;
    QSpinBox* markup_;
    QCheckBox* showUnitPrices_;
};

}  // namespace quantora
