// The confirmation "Next" shown before the files already in a folder are erased and replaced:
// two lines of text, "Continue" and "Cancel". Closing it any other way cancels.
#pragma once

#include <QDialog>

namespace quantora {

class Sounds;

class WipeDataDialog : public QDialog {
    Q_OBJECT
  public:
    // Centred over owner, showing the two lines.
    WipeDataDialog(QWidget* owner, Sounds& sounds, const QString& headline, const QString& detail);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    Sounds& sounds_;
    QWidget* owner_;
    bool alerted_ = false;
};

}  // namespace quantora
