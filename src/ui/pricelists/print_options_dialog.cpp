#include "ui/pricelists/print_options_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <vector>

#include "ui/common/window_placement.h"
#include "ui/common/window_scaling.h"
#include "ui/session.h"

namespace quantora {

namespace {

constexpr const char* kMargins[6] = {"0.5 Inch", "1 Inch",     "1 .5 Inches",
                                     "2 Inches", "2.5 Inches", "3 Inches"};
constexpr std::int16_t kSizes[4] = {8, 10, 12, 14};

// Tab reaches a group of options at its chosen one, so Space there changes nothing by
// accident; the arrow keys move the choice within the group, as they always do.
void TabToTheChosenOption(QRadioButton* option) {
    auto follow = [option](bool chosen) {
        option->setFocusPolicy(chosen ? Qt::StrongFocus : Qt::ClickFocus);
    };
    follow(option->isChecked());
    QObject::connect(option, &QRadioButton::toggled, option, follow);
}

}  // namespace

PrintOptionsDialog::PrintOptionsDialog(QWidget* caller, Session& session)
    : QDialog(caller), session_(session) {
    setObjectName("PrintSetupForm");
    setWindowTitle("Print Output");
    const Settings& settings = session_.Settings();

    auto* landscape = new QCheckBox("Print in Landscape", this);
    landscape->setObjectName("PortraitOption");
    landscape->setChecked(settings.PrintOrientation == 2);
    connect(landscape, &QCheckBox::clicked, this, [this](bool ticked) {
        session_.ChangeSetting(&Settings::PrintOrientation, ticked ? 2 : 1);
    });
    auto* title = new QCheckBox("Print Title", this);
    title->setObjectName("TitleOption");
    title->setChecked(settings.PrintTitle == 1);
    connect(title, &QCheckBox::clicked, this,
            [this](bool ticked) { session_.ChangeSetting(&Settings::PrintTitle, ticked ? 1 : 0); });

    auto* margins = new QGroupBox("Top Margin", this);
    auto* marginColumn = new QVBoxLayout(margins);
    for (int k = 1; k <= 6; ++k) {
        auto* option = new QRadioButton(kMargins[k - 1], margins);
        option->setObjectName(QString("TopMarginOption%1").arg(k));
        option->setChecked(settings.PrintTopMargin == k);
        TabToTheChosenOption(option);
        marginColumn->addWidget(option);
        connect(option, &QRadioButton::clicked, this, [this, k] {
            session_.ChangeSetting(&Settings::PrintTopMargin, static_cast<std::int16_t>(k));
        });
    }
    auto* sizes = new QGroupBox(this);
    auto* sizeColumn = new QVBoxLayout(sizes);
    for (int k = 0; k < 4; ++k) {
        auto* option = new QRadioButton(QString("Font size %1").arg(kSizes[k]), sizes);
        option->setObjectName(QString("SizeOpt%1").arg(k));
        option->setChecked(settings.PrintFontSize == kSizes[k]);
        TabToTheChosenOption(option);
        sizeColumn->addWidget(option);
        connect(option, &QRadioButton::clicked, this,
                [this, k] { session_.ChangeSetting(&Settings::PrintFontSize, kSizes[k]); });
    }

    struct Button {
        const char* caption;
        const char* name;
        PrintChoice choice;
    };
    auto* buttons = new QHBoxLayout;
    std::vector<QWidget*> pushes;
    for (const Button& button : {Button{"OK", "Command1", PrintChoice::Print},
                                 Button{"Cancel", "CancelBtn", PrintChoice::Cancel},
                                 Button{"Preview...", "PreviewBtn", PrintChoice::Preview},
                                 Button{"Save as PDF...", "PdfBtn", PrintChoice::SavePdf}}) {
        auto* push = new QPushButton(button.caption, this);
        push->setObjectName(button.name);
        buttons->addWidget(push);
        pushes.push_back(push);
        PrintChoice choice = button.choice;
        connect(push, &QPushButton::clicked, this, [this, choice] { Choose(choice); });
    }

    // Tab follows the screen: the left column down, the margins beside it, then the buttons.
    std::vector<QWidget*> order{landscape, title};
    for (QWidget* group : {static_cast<QWidget*>(sizes), static_cast<QWidget*>(margins)})
        for (QRadioButton* option : group->findChildren<QRadioButton*>()) order.push_back(option);
    order.insert(order.end(), pushes.begin(), pushes.end());
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

    auto* options = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(landscape);
    left->addWidget(title);
    left->addWidget(sizes);
    left->addStretch();
    options->addLayout(left);
    options->addWidget(margins);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ScaleForm(this);
    adjustSize();
    CentreOnScreenOf(this, caller, session_);
}

void PrintOptionsDialog::Choose(PrintChoice choice) {
    choice_ = choice;
    if (choice == PrintChoice::Cancel)
        reject();
    else
        accept();
}

}  // namespace quantora
