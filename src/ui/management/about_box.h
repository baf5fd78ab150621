// The About box: the product, its version, and a link to the maker's page about newer
// releases. It closes on a mouse release on "Close", on the link, or with Esc; no other key
// closes it, so no key meant for it reaches the window beneath.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace quantora {

class Session;

// The maker's page about newer releases.
inline constexpr const char* kUpgradesUrl = "https://www.kirusoftware.com/upgrades.htm";

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    AboutBox(QWidget* managementWindow, Session& session);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool PreviewKey(QKeyEvent* key);

    Session& session_;
    QLabel* URLLink;
    QPushButton* OKBtn;
};

}  // namespace quantora
