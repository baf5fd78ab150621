// The name dialog "New Name...": asks for the name of a new or renamed group, job or price
// list. Enter and Esc in the name act when released, so the key that closed a message box
// just before does not answer this dialog too; Enter on a focused button presses it.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace quantora {

class KeyLatch;
class Sounds;

class NameDialog : public QDialog {
    Q_OBJECT
  public:
    // The offered name comes selected, so typing replaces it.
    NameDialog(QWidget* parent, KeyLatch& keys, Sounds& sounds, const QString& offered);

    // After OK: the entered name with blanks at both ends removed, "Untitled" for none.
    QString Name() const { return name_; }

  protected:
    void done(int result) override;

  private:
    bool PreviewKey(QWidget* receiver, QKeyEvent* key);
    void OKBtn_Click();

    KeyLatch& keys_;
    Sounds& sounds_;
    QLineEdit* Text1;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QString name_;
};

}  // namespace quantora
