// "Print Output": the four print options (landscape, title, top margin, font size), each
// written to the settings the moment it is clicked, and what to do with the print-out: print
// it, cancel, preview it or save it as a PDF file. Cancel stops only the print that waits;
// the options chosen stay.
#pragma once

#include <QDialog>

#include "ui/common/dialogs.h"

class QCheckBox;
class QRadioButton;

namespace quantora {

class Session;

class PrintOptionsDialog : public QDialog {
    Q_OBJECT
  public:
    // Centred on the caller's screen.
    PrintOptionsDialog(QWidget* caller, Session& session);

    // What the user chose; Cancel when the dialog was closed any other way.
    PrintChoice Choice() const { return choice_; }

  private:
    void Choose(PrintChoice choice);

    Session& session_;
    PrintChoice choice_ = PrintChoice::Cancel;
};

}  // namespace quantora
