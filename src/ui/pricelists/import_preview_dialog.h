// The preview of an import: what the file was read as (each guess shown, and open to change),
// the first lines as they will be stored, what the import would add, change, leave, refuse and
// delete, and the mending of names. It writes nothing; its choices are the import's.
#pragma once

#include <QDialog>

#include "pricelists/price_import.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace quantora {

class Dialogs;

// What the preview works on: the file, the list as it stands, and the choices, with the plan
// they lead to kept up to date.
struct ImportReview {
    ImportFile& file;
    const ListContents& list;
    ImportChoices choices;
    ImportPlan plan;
};

class ImportPreviewDialog : public QDialog {
    Q_OBJECT
  public:
    ImportPreviewDialog(QWidget* parent, Dialogs& dialogs, ImportReview& review);

  private:
    void FillColumnChoices();
    void ReadChoices();
    void Replan();
    void ShowPlan();
    void SaveRefusedLines();

    Dialogs& dialogs_;
    ImportReview& review_;
    QComboBox* encoding_;
    QComboBox* delimiter_;
    QComboBox* decimalMark_;
    QLabel* markQuestion_;
    QCheckBox* headerRow_;
    QComboBox* nameColumn_;
    QComboBox* priceColumn_;
    QCheckBox* mend_;
    QLabel* mendCount_;
    std::vector<QCheckBox*> ruleParts_;
    QComboBox* longNames_;
    QComboBox* missingItems_;
    QLabel* counts_;
    QTableWidget* firstLines_;
    QTableWidget* changes_;
    QTableWidget* refused_;
    QTableWidget* notes_;
    QPushButton* saveRefused_;
    QPushButton* import_;
};

}  // namespace quantora
