// The application object: a data file that cannot be opened or deleted, wherever it happens,
// is told to the user in the program's words and ends the program at once.
#pragma once

#include <QApplication>

namespace quantora {

class DataFileError;

class QuantoraApplication : public QApplication {
  public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows the message of a data file error and ends the program without saving anything.
[[noreturn]] void EndOnDataFileError(const DataFileError& error);

}  // namespace quantora
