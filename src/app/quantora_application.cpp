#include "app/quantora_application.h"

#include <QMessageBox>
#include <cstdlib>

#include "store/clock_text.h"
#include "store/data_file.h"

namespace quantora {

bool QuantoraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const DataFileError& error) {
        EndOnDataFileError(error);
    }
}

void EndOnDataFileError(const DataFileError& error) {
    QMessageBox::warning(nullptr, kProgramTitle, QString::fromStdString(error.UserMessage()));
    std::_Exit(1);
}

}  // namespace quantora
