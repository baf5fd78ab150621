// The job selector " Select Job": chooses a saved job, of any group, to include in the job
// being costed. The open job is left out of its own group. It is hidden rather than closed
// between uses, so it keeps the group browsed while the costing sheet stays open.
#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>
#include <string>

class QListWidget;

namespace quantora {

class Session;

struct ChosenJob {
    std::int16_t group;
    std::string name;
};

class JobSelector : public QDialog {
    Q_OBJECT
  public:
    // Opens with its top-left corner on the sheet's, browsing the open job's group.
    JobSelector(QWidget* sheet, Session& session);

    // Shows the selector modal: the chosen job, or nothing when cancelled.
    std::optional<ChosenJob> Pick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    bool PreviewKey(QKeyEvent* key);
    void Browse(std::int16_t group);
    void Choose();

    Session& session_;
    QListWidget* jobs_;
    QListWidget* groups_;
    std::int16_t browsed_;
    std::optional<ChosenJob> chosen_;
};

}  // namespace quantora
