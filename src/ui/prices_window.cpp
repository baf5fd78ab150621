#include "ui/prices_window.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "manage/name_rules.h"
#include "platform/shell.h"
#include "platform/sounds.h"
#include "pricelists/item_file.h"
#include "store/amount.h"
#include "store/monitor_offset.h"
#include "store/pause.h"
#include "ui/app_state.h"
#include "ui/code_page_validator.h"
#include "ui/prompt.h"
#include "ui/window_scaling.h"

namespace quantora {

namespace {

const QColor kLightYellow(255, 255, 192);
constexpr int kAreaWidth = 528;
constexpr int kHelpWidth = 240;
constexpr int kHeight = 610;
constexpr int kRowHeight = 22;
constexpr int kRowsTop = 112;

QString Q(const std::string& text) { return QString::fromStdString(text); }

void Colour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette p = widget->palette();
    p.setColor(role, colour);
    widget->setPalette(p);
}

QLabel* Text(const QString& text, QWidget* parent, QRect at) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(at);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

bool IsEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// A key that types a character: what the typing rules of the fields look at.
bool TypesCharacter(const QKeyEvent* key) {
    return !key->text().isEmpty() && key->key() != Qt::Key_Backspace && !IsEnter(key) &&
           key->key() != Qt::Key_Escape && key->key() != Qt::Key_Tab;
}

}  // namespace

PricesWindow::PricesWindow(QWidget* managementWindow, AppState& state, const QString& listName)
    : QDialog(managementWindow),
      state_(state),
      managementWindow_(managementWindow),
      listFolder_(state.Paths.ListFolder(state.Settings.CurrentList)) {
    setObjectName("Prices");
    setWindowTitle(" Quantora -  " + listName);

    auto* menus = new QMenuBar(this);
    QMenu* FM = menus->addMenu("File");
    FM->setObjectName("FM");
    // Printing price lists comes with the print-out; until then the items are shown disabled.
    QAction* FMPrint = FM->addAction("Print");
    FMPrint->setObjectName("FMPrint");
    FMPrint->setEnabled(false);
    QAction* MenuPrintSetup = FM->addAction("Print Setup");
    MenuPrintSetup->setObjectName("MenuPrintSetup");
    MenuPrintSetup->setEnabled(false);
    QMenu* HM = menus->addMenu("Help");
    HM->setObjectName("HM");
    HMHide = HM->addAction("Hide Help Panel");
    HMHide->setObjectName("HMHide");
    HMHide->setCheckable(true);
    HMShow = HM->addAction("Show Help Panel");
    HMShow->setObjectName("HMShow");
    HMShow->setCheckable(true);
    QAction* HMDocs = HM->addAction("Documentation");
    HMDocs->setObjectName("HMDocs");
    connect(HMHide, &QAction::triggered, this, [this] { Setwidth(false); });
    connect(HMShow, &QAction::triggered, this, [this] { Setwidth(true); });
    connect(HMDocs, &QAction::triggered, this,
            [this] { OpenDocument(state_.Measures.ProgramFolder + "Help/1.htm"); });

    auto* area = new QWidget(this);
    area->setObjectName("Area");
    area->setFixedSize(kAreaWidth + kHelpWidth + 8, kHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menus);
    layout->addWidget(area);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    BuildEditor(area);
    BuildRows(area);
    BuildFilters(area);
    BuildProgress(area);
    BuildHelpPanel(area);

    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);

    ScaleForm(this);
    if (state_.Settings.PricesHelp == 0) {
        HelpFrame->hide();
        area->setFixedWidth(area->width() - kHelpWidth - Twips(90));
        helpShown_ = false;
    }
    HMHide->setChecked(!helpShown_);
    HMHide->setEnabled(helpShown_);
    HMShow->setChecked(helpShown_);
    HMShow->setEnabled(!helpShown_);

    adjustSize();
    QRect owner = managementWindow->frameGeometry();
    QRect screen = managementWindow->screen()->geometry();
    state_.Offset = FindMonitorOffset(owner.left(), owner.top(), owner.width(), owner.height(),
                                      screen.width(), screen.height());
    Centre();
    Showit();
}

void PricesWindow::BuildEditor(QWidget* area) {
    auto* frame = new QFrame(area);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(8, 8, kAreaWidth - 8, 96);
    Text("Item Name", frame, {8, 6, 320, 18});
    AddText = new QLineEdit(frame);
    AddText->setObjectName("AddText");
    AddText->setGeometry(8, 24, 330, 26);
    AddText->setMaxLength(static_cast<int>(kMaxNameLength));
    AddText->setValidator(new CodePageValidator(AddText));
    Text("Item Price", frame, {346, 6, 160, 18});
    AddPrice = new QLineEdit(frame);
    AddPrice->setObjectName("AddPrice");
    AddPrice->setGeometry(346, 24, 166, 26);
    AddPrice->setMaxLength(14);
    AddBtn = new QPushButton("Add or Update", frame);
    AddBtn->setObjectName("AddBtn");
    AddBtn->setGeometry(8, 60, 160, 28);
    AddBtn->setAutoDefault(false);
    DelBtn = new QPushButton("Delete", frame);
    DelBtn->setObjectName("DelBtn");
    DelBtn->setGeometry(176, 60, 100, 28);
    DelBtn->setAutoDefault(false);
    DelBtn->setEnabled(false);
    connect(AddBtn, &QPushButton::clicked, this, &PricesWindow::AddBtn_Click);
    connect(DelBtn, &QPushButton::clicked, this, &PricesWindow::DelBtn_Click);
}

void PricesWindow::BuildRows(QWidget* area) {
    for (int r = 0; r < kRows; ++r) {
        int y = kRowsTop + r * kRowHeight;
        Item[r] = new QLabel(area);
        Item[r]->setObjectName(QString("Item%1").arg(r));
        Item[r]->setGeometry(8, y, 340, kRowHeight);
        Price[r] = new QLabel(area);
        Price[r]->setObjectName(QString("Price%1").arg(r));
        Price[r]->setGeometry(348, y, 152, kRowHeight);
        Price[r]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        for (QLabel* label : {Item[r], Price[r]}) {
            label->setAutoFillBackground(true);
            label->setIndent(4);
        }
    }
    Slider = new QScrollBar(Qt::Vertical, area);
    Slider->setObjectName("Slider");
    Slider->setGeometry(504, kRowsTop, 20, kRows * kRowHeight);
    Slider->setRange(0, 0);
    Slider->setSingleStep(1);
    Slider->setPageStep(kRows);
    Slider->setFocusPolicy(Qt::NoFocus);
    // The highlight stays on its row while the items scroll under it.
    connect(Slider, &QScrollBar::valueChanged, this, [this](int value) {
        topIndex_ = value;
        Showit();
    });
}

void PricesWindow::BuildFilters(QWidget* area) {
    auto* frame = new QFrame(area);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(8, kRowsTop + kRows * kRowHeight + 8, kAreaWidth - 8, 130);
    QLabel* title = Text("Filters", frame, {8, 4, 200, 18});
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    const char* captions[] = {"All Items", "Items Beginning With", "Items Ending With",
                              "Items Containing"};
    for (int k = 0; k < 4; ++k) {
        FilterOption[k] = new QRadioButton(captions[k], frame);
        FilterOption[k]->setObjectName(QString("FilterOption%1").arg(k));
        FilterOption[k]->setGeometry(8, 24 + 26 * k, 190, 24);
        FilterOption[k]->setAutoFillBackground(true);
        // An option never keeps the focus: the name field takes it.
        FilterOption[k]->setFocusPolicy(Qt::NoFocus);
        connect(FilterOption[k], &QRadioButton::clicked, this,
                [this, k] { FilterOption_Click(k); });
        if (k == 0) continue;
        FilterText[k] = new QLineEdit(frame);
        FilterText[k]->setObjectName(QString("FilterText%1").arg(k));
        FilterText[k]->setGeometry(204, 24 + 26 * k, 300, 24);
        FilterText[k]->setMaxLength(50);
    }
    FilterOption[0]->setChecked(true);
    for (int k = 0; k < 4; ++k)
        Colour(FilterOption[k], QPalette::Window,
               k == 0 ? kLightYellow : palette().color(QPalette::Button));
}

void PricesWindow::BuildProgress(QWidget* area) {
    ProgFrame = new QFrame(area);
    ProgFrame->setObjectName("ProgFrame");
    ProgFrame->setFrameShape(QFrame::Box);
    ProgFrame->setGeometry(64, kRowsTop + 100, 400, 110);
    ProgFrame->setAutoFillBackground(true);
    Text("Loading price list......................", ProgFrame, {16, 12, 368, 18});
    Text("Please wait.............", ProgFrame, {16, 34, 368, 18});
    Barframe = new QFrame(ProgFrame);
    Barframe->setFrameShape(QFrame::Panel);
    Barframe->setFrameShadow(QFrame::Sunken);
    Barframe->setGeometry(16, 64, 368, 22);
    ProgBar = new QFrame(Barframe);
    ProgBar->setObjectName("ProgBar");
    ProgBar->setAutoFillBackground(true);
    Colour(ProgBar, QPalette::Window, palette().color(QPalette::Highlight));
    ProgBar->setGeometry(0, 0, 1, 22);
    ProgFrame->hide();
}

void PricesWindow::BuildHelpPanel(QWidget* area) {
    HelpFrame = new QFrame(area);
    HelpFrame->setObjectName("HelpFrame");
    HelpFrame->setGeometry(kAreaWidth + 8 - 2, 8, kHelpWidth - 6, kHeight - 16);
    const char* texts[] = {
        "Enter the names and prices of items here then click the Add or Update button (or hit "
        "ENTER).",
        "Item names can have up to 70 characters but cannot include the characters < > \\ / : * or "
        "?",
        "The items in your price list are shown in this section.  To delete or change the price af "
        "an item in your list, click on it.   It then appears in the editor above where you can "
        "change the price and click the Add or Update button.",
        "Your price lists are saved automatically.   Just close this window or hit Esc when "
        "finished.",
        "You can hide this help panel from the help menu when you no longer need it.",
        "If you need to find an item in a long price list to change its price, you can use these "
        "filters instead of scrolling through the entire list looking for it."};
    const int tops[] = {0, 70, 130, 300, 390, 450};
    const int heights[] = {64, 56, 150, 80, 50, 120};
    for (int i = 0; i < 6; ++i) {
        QLabel* label = Text(texts[i], HelpFrame, {0, tops[i], kHelpWidth - 6, heights[i]});
        if (i == 3) {
            label->setAutoFillBackground(true);
            Colour(label, QPalette::Window, kLightYellow);
        }
    }
}

void PricesWindow::Centre() {
    QRect screen = managementWindow_->screen()->geometry();
    WindowOrigin at = CentredOrigin(frameGeometry().width(), frameGeometry().height(),
                                    screen.width(), screen.height(), state_.Offset);
    move(screen.left() + at.left, screen.top() + at.top);
}

void PricesWindow::Setwidth(bool helpShown) {
    state_.Settings.PricesHelp = helpShown ? 1 : 0;
    state_.SaveSettings();
    QRect own = frameGeometry();
    QRect desktop = screen()->geometry();
    state_.Offset = FindMonitorOffset(own.left(), own.top(), own.width(), own.height(),
                                      desktop.width(), desktop.height());
    if (helpShown != helpShown_) {
        QWidget* area = findChild<QWidget*>("Area");
        int change = kHelpWidth + Twips(90);
        area->setFixedWidth(area->width() + (helpShown ? change : -change));
        HelpFrame->setVisible(helpShown);
        helpShown_ = helpShown;
        adjustSize();
    }
    HMHide->setChecked(!helpShown);
    HMHide->setEnabled(helpShown);
    HMShow->setChecked(helpShown);
    HMShow->setEnabled(!helpShown);
    Centre();
}

void PricesWindow::Hlt(int row) {
    if (row == highlightedRow_) return;
    highlightedRow_ = row;
    QPalette base = palette();
    for (int r = 0; r < kRows; ++r) {
        bool lit = r == row;
        for (QLabel* label : {Item[r], Price[r]}) {
            Colour(label, QPalette::Window, lit ? base.color(QPalette::Highlight) : Qt::white);
            Colour(label, QPalette::WindowText,
                   lit ? base.color(QPalette::HighlightedText) : Qt::black);
        }
    }
}

void PricesWindow::Showit() {
    const std::vector<ListEntry>& items = model_.ItemList();
    for (int r = 0; r < kRows; ++r) {
        std::size_t i = static_cast<std::size_t>(topIndex_ + r);
        bool shown = i < items.size();
        Item[r]->setText(shown ? Q(items[i].name) : QString());
        Price[r]->setText(shown ? Q(AmountText(model_.PriceAt(static_cast<std::int32_t>(i))))
                                : QString());
    }
}

void PricesWindow::UpdateSliderRange() { Slider->setMaximum(std::max(model_.LastIndex() - 15, 0)); }

void PricesWindow::LoadList() {
    ItemFilter filter{
        static_cast<FilterMode>(filterMode_),
        filterMode_ > 0 ? FilterText[filterMode_]->text().toStdString() : std::string()};
    model_.LoadNames(listFolder_, filter);
    Slider->setMaximum(0);
    topIndex_ = 0;
    currentRow_ = 0;
    Hlt(currentRow_);
    if (model_.LastIndex() == -1) {
        Showit();
        return;
    }
    UpdateSliderRange();

    ProgBar->setFixedWidth(1);
    ProgFrame->show();
    repaint();
    Pause(200);
    const int full = Barframe->width();
    const double step =
        model_.LastIndex() == 0 ? full : static_cast<double>(full) / model_.LastIndex();
    double width = 1;
    // The bar is drawn again only when it has grown by a whole pixel: a supplier's list of
    // 100,000 items must not pay for 100,000 repaints.
    model_.LoadPrices(listFolder_, [&] {
        width += step;
        int shown = std::min(static_cast<int>(width), full);
        if (shown == ProgBar->width()) return;
        ProgBar->setFixedWidth(shown);
        ProgBar->repaint();
    });
    ProgBar->setFixedWidth(full);
    ProgBar->repaint();
    Pause(200);
    ProgFrame->hide();
    Showit();
}

void PricesWindow::AddBtn_Click() {
    AddText->setFocus();
    AddText->setText(Q(TrimBlanks(AddText->text().toStdString())));
    if (AddText->text().isEmpty()) {
        state_.sounds->PlayAsterisk();
        return;
    }
    if (AddPrice->text().isEmpty()) {
        state_.sounds->PlayAsterisk();
        state_.prompter->Ask(this, " Please enter the price.  ", PromptIcon::None,
                             PromptButtons::Ok);
        AddPrice->setFocus();
        return;
    }
    std::optional<std::string> name = CleanItemName(AddText->text().toStdString());
    if (!name) {
        // Only full stops and characters a name cannot hold: refused like an empty name.
        state_.sounds->PlayAsterisk();
        return;
    }
    AddText->setText(Q(*name));
    Amount price = ParseAmount(AddPrice->text().toStdString());
    if (model_.AddOrUpdate(listFolder_, *name, price)) UpdateSliderRange();
    AddPrice->setText(Q(AmountText(price)));
    Showit();
    AddText->selectAll();
    DelBtn->setEnabled(false);
    state_.sounds->PlayPing();
}

void PricesWindow::DelBtn_Click() {
    AddText->setFocus();
    model_.Delete(listFolder_, AddText->text().toStdString());
    UpdateSliderRange();
    Showit();
    AddText->clear();
    AddPrice->clear();
}

void PricesWindow::ChooseRow(int row) {
    std::size_t i = static_cast<std::size_t>(topIndex_ + row);
    if (Item[row]->text().isEmpty() || i >= model_.ItemList().size()) return;
    const std::string& name = model_.ItemList()[i].name;
    AddText->setText(Q(name));
    // From the file, not from memory: another window may have changed it meanwhile.
    AddPrice->setText(Q(AmountText(ReadItemPrice(listFolder_, name))));
    DelBtn->setEnabled(true);
    currentRow_ = row;
    Hlt(row);
    AddPrice->setFocus();
    AddPrice->selectAll();
}

void PricesWindow::FilterOption_Click(int k) {
    AddText->setFocus();
    if (k == 0 && filterMode_ == 0) return;
    filterMode_ = k;
    FilterOption[k]->setChecked(true);
    for (int i = 0; i < 4; ++i)
        Colour(FilterOption[i], QPalette::Window,
               i == k ? kLightYellow : palette().color(QPalette::Button));
    LoadList();
    if (k > 0) FilterText[k]->setFocus();
}

void PricesWindow::keyPressEvent(QKeyEvent* event) {
    if (!WindowKey(event)) QDialog::keyPressEvent(event);
}

bool PricesWindow::WindowKey(QKeyEvent* key) {
    bool up = key->key() == Qt::Key_Up, down = key->key() == Qt::Key_Down;
    if (key->type() == QEvent::KeyPress) {
        if (down) {
            if (currentRow_ < 15) {
                if (topIndex_ + currentRow_ < model_.LastIndex()) Hlt(++currentRow_);
            } else if (Slider->value() < Slider->maximum()) {
                Slider->setValue(Slider->value() + 1);
            }
            return true;
        }
        if (up) {
            if (currentRow_ > 0) {
                Hlt(--currentRow_);
            } else if (Slider->value() > 0) {
                Slider->setValue(Slider->value() - 1);
            }
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            reject();
            return true;
        }
        return false;
    }
    if (key->type() == QEvent::KeyRelease && !key->isAutoRepeat()) {
        if (up || down) {
            ChooseRow(currentRow_);
            return true;
        }
        if (key->key() == Qt::Key_F1) OpenDocument(state_.Measures.ProgramFolder + "Help/1.htm");
    }
    return false;
}

bool PricesWindow::NameKeyPress(QKeyEvent* key) {
    if (IsEnter(key)) {
        AddBtn_Click();
        return true;
    }
    if (!TypesCharacter(key)) return false;
    DelBtn->setEnabled(false);
    QChar c = key->text()[0];
    if (c.isPrint() &&
        (!IsAllowedInItemName(c.unicode()) || !CodePageValidator::Fits(key->text()))) {
        state_.sounds->PlayAsterisk();
        return true;
    }
    return false;
}

bool PricesWindow::PriceKeyPress(QKeyEvent* key) {
    if (IsEnter(key)) {
        AddBtn_Click();
        return true;
    }
    if (!TypesCharacter(key)) return false;
    DelBtn->setEnabled(false);
    if (key->modifiers() & Qt::ControlModifier) return false;  // paste and the like
    if (!IsAmountEntryChar(key->text()[0].unicode())) {
        state_.sounds->PlayAsterisk();
        return true;
    }
    return false;
}

bool PricesWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        // The window sees every key before its fields do.
        if (WindowKey(key)) return true;
        if (event->type() == QEvent::KeyPress) {
            if (watched == AddText) return NameKeyPress(key);
            if (watched == AddPrice) return PriceKeyPress(key);
            for (int k = 1; k < 4; ++k) {
                if (watched == FilterText[k] && IsEnter(key)) {
                    FilterOption_Click(k);
                    return true;
                }
            }
        }
        return false;
    }
    if (event->type() == QEvent::FocusIn) {
        if (watched == AddText && !listLoaded_) {
            // The list is read once the window is on the screen, so a long one shows its
            // progress instead of keeping the window from appearing.
            listLoaded_ = true;
            repaint();
            LoadList();
        } else if (watched == AddText || watched == AddPrice || watched == FilterText[1] ||
                   watched == FilterText[2] || watched == FilterText[3]) {
            auto* field = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, field, [field] { field->selectAll(); });
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int r = 0; r < kRows; ++r) {
            if (watched == Item[r] || watched == Price[r]) {
                ChooseRow(r);
                return true;
            }
        }
    }
    return false;
}

}  // namespace quantora
