// The name entry dialog "New Name...": asks for the name of a new or renamed group, job or
// price list. Enter and Esc act when released, so the key that closed a message box just
// before does not answer this dialog too.
#pragma once

#include <QDialog>
#include <QPoint>
#include <optional>

class QLineEdit;
class QPushButton;

namespace quantora {

struct AppState;

class NameIt : public QDialog {
    Q_OBJECT
  public:
    NameIt(QWidget* parent, AppState& state, const QString& offered);

    // Shows the dialog modal at topLeft (screen coordinates) with the offered name selected.
    // The entered name with blanks at both ends removed ("Untitled" for none), or nothing
    // when cancelled.
    static std::optional<QString> Ask(QWidget* parent, AppState& state, const QString& offered,
                                      QPoint topLeft);

    QString Name() const { return name_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

  private:
    void OKBtn_Click();

    AppState& state_;
    QLineEdit* Text1;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QString name_;
};

}  // namespace quantora
