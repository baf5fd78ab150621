#include "ui/common/help_panel.h"

#include <QAction>
#include <QFrame>
#include <QMenuBar>

#include "platform/shell.h"
#include "ui/session.h"

namespace quantora {

HelpPanel::HelpPanel(QMenuBar* bar, Session& session, std::int16_t Settings::*setting,
                     HelpItemNames names, Apply apply)
    : QObject(bar), session_(session), setting_(setting), apply_(std::move(apply)) {
    menu_ = bar->addMenu("&Help");
    menu_->setObjectName("HM");
    hide_ = menu_->addAction("&Hide Help Panel");
    hide_->setObjectName(names.hide);
    show_ = menu_->addAction("&Show Help Panel");
    show_->setObjectName(names.show);
    QAction* docs = menu_->addAction("&Documentation");
    docs->setObjectName("HMDocs");
    for (QAction* item : {hide_, show_}) item->setCheckable(true);

    connect(hide_, &QAction::triggered, this, [this] { Set(false); });
    connect(show_, &QAction::triggered, this, [this] { Set(true); });
    connect(docs, &QAction::triggered, this, [this] { OpenDocumentation(session_); });
    connect(menu_, &QMenu::aboutToShow, this, [this] { UpdateItems(); });
    UpdateItems();
    if (!Shown()) apply_(false);
}

bool HelpPanel::Shown() const { return session_.Settings().*setting_ != 0; }

void HelpPanel::Set(bool shown) {
    bool changed = shown != Shown();
    session_.ChangeSetting(setting_, shown ? 1 : 0);
    if (changed) apply_(shown);
    UpdateItems();
}

void HelpPanel::UpdateItems() {
    bool shown = Shown();
    hide_->setChecked(!shown);
    hide_->setEnabled(shown);
    show_->setChecked(shown);
    show_->setEnabled(!shown);
}

void OpenDocumentation(const Session& session) { OpenDocument(session.DocumentationPage()); }

QFrame* NewHelpFrame(QWidget* parent, const char* name, QRect where) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setGeometry(where);
    frame->setAutoFillBackground(true);
    QPalette yellow = frame->palette();
    yellow.setColor(QPalette::Window, QColor(255, 255, 192));
    frame->setPalette(yellow);
    return frame;
}

}  // namespace quantora
