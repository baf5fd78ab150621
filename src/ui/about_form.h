// The About box: the product, its version, and a link to the page about newer releases.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace quantora {

struct AppState;

// The maker's page about newer releases.
inline constexpr const char* kUpgradesUrl = "https://www.kirusoftware.com/upgrades.htm";

class AboutForm : public QDialog {
    Q_OBJECT
  public:
    AboutForm(QWidget* managementWindow, AppState& state);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    AppState& state_;
    QLabel* URLLink;
    QPushButton* OKBtn;
};

}  // namespace quantora
