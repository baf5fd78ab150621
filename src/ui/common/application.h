// The application object. Every event passes through it, which gives two things one place
// each: the key preview of the window a key is meant for sees the key before any control,
// and an error that escapes an event handler is answered instead of ending the program
// unexplained. A data file that cannot be opened or deleted ends the program after its
// message; any other error is told in a plain message and the program goes on.
#pragma once

#include <QApplication>
#include <exception>

namespace quantora {

class DataFileError;
class Dialogs;

class QuantoraApplication : public QApplication {
  public:
    using QApplication::QApplication;

    // The dialog service that tells the user about errors; set once it exists.
    void SetDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }
    bool notify(QObject* receiver, QEvent* event) override;

  private:
    Dialogs* dialogs_ = nullptr;
};

// Shows the message of a data file error through the dialogs (a plain message box without
// them) and ends the program at once, writing nothing more.
[[noreturn]] void EndOnDataFileError(Dialogs* dialogs, const DataFileError& error);

// The plain words for an error no handler expected.
QString UnexpectedErrorMessage(const std::exception& error);

}  // namespace quantora
