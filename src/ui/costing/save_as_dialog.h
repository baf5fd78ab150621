// The Save As dialog: the name under which the open job is saved as a copy in its group.
// Forbidden characters are refused as they are typed; Enter released in the name saves.
#pragma once

#include <QDialog>

class QLineEdit;

namespace quantora {

class Session;

class SaveAsDialog : public QDialog {
    Q_OBJECT
  public:
    // Opens with its top-left corner at the sheet's.
    SaveAsDialog(QWidget* sheet, Session& session);

  private:
    bool PreviewKey(QWidget* receiver, QKeyEvent* key);
    void SaveBtn_Click();

    Session& session_;
    QLineEdit* InJobName;
};

}  // namespace quantora
