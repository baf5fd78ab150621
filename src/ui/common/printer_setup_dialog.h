// "Print Setup": the current printer's paper and orientation, which become that printer's
// defaults for every later print job, of this program and of others. Only what is kept is
// offered.
#pragma once

#include <QDialog>

#include "platform/printer.h"

class QComboBox;
class QRadioButton;

namespace quantora {

class Session;

class PrinterSetupDialog : public QDialog {
    Q_OBJECT
  public:
    // Opens on the printer's defaults as they are, centred on the caller's screen.
    PrinterSetupDialog(QWidget* caller, Session& session, const PrinterDefaults& current);

    // The defaults as the user left them.
    PrinterDefaults Chosen() const;

  private:
    PrinterDefaults current_;
    QList<QPageSize> papers_;
    QComboBox* paper_;
    QRadioButton* landscape_;
};

}  // namespace quantora
