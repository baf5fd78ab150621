#include "ui/pricelists/price_list_editor.h"

#include <QAction>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/sounds.h"
#include "pricelists/item_entry.h"
#include "pricelists/item_file.h"
#include "pricelists/price_import.h"
#include "pricelists/price_list_print.h"
#include "services/pause.h"
#include "store/amount.h"
#include "store/file_name_rules.h"
#include "ui/common/after_paint.h"
#include "ui/common/code_page_validator.h"
#include "ui/common/data_folder_hold.h"
#include "ui/common/dialogs.h"
#include "ui/common/filter_panel.h"
#include "ui/common/help_panel.h"
#include "ui/common/key_preview.h"
#include "ui/common/print_out.h"
#include "ui/common/progress_bar.h"
#include "ui/common/row_label.h"
#include "ui/common/where_used_box.h"
#include "ui/common/window_placement.h"
#include "ui/common/window_scaling.h"
#include "ui/pricelists/price_list_transfer.h"
#include "ui/session.h"

namespace quantora {

namespace {

const QColor kLightYellow(255, 255, 192);
constexpr int kAreaWidth = 528;
constexpr int kHelpWidth = 240;
constexpr int kHeight = 610;
constexpr int kRowHeight = 22;
constexpr int kRowsTop = 112;
constexpr int kRowsWidth = 496;
constexpr int kIndent = 4;

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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

// A name too long for its row ends in a visible "..." and shows whole in its tool tip.
void ShowName(QLabel* label, const QString& name) {
    int room = label->width() - 2 * kIndent;
    QString shown = label->fontMetrics().elidedText(name, Qt::ElideRight, room);
    label->setText(shown);
    label->setToolTip(shown == name ? QString() : name);
}

}  // namespace

PriceListEditor::PriceListEditor(QWidget* managementWindow, Session& session,
                                 const QString& listName)
    : QDialog(managementWindow),
      session_(session),
      managementWindow_(managementWindow),
      listFolder_(session.Paths.ListFolder(session.Settings().CurrentList)) {
    setObjectName("Prices");
    setWindowTitle(" Quantora -  " + listName);
    // An import of this list that another run of the program left under way is finished
    // before the list is shown; a desk that only reads the folder leaves it to its holder.
    if (!session_.ReadOnly()) FinishInterruptedImport(listFolder_);
    listName_ = listName;

    area_ = new QWidget(this);
    area_->setObjectName("Area");
    area_->setFixedSize(kAreaWidth + kHelpWidth + 8, kHeight);
    BuildEditor(area_);
    BuildRows(area_);
    BuildFilters(area_);
    BuildProgress(area_);
    BuildHelpPanel(area_);
    BuildMenus();

    new KeyPreview(this, session_.Keys,
                   [this](QWidget* receiver, QKeyEvent* key) { return PreviewKey(receiver, key); });
    ScaleForm(this);
    adjustSize();
    TakeMonitorOffset(session_, managementWindow);
    CentreOnScreenOf(this, managementWindow_, session_);
    Showit();
}

void PriceListEditor::BuildMenus() {
    auto* menus = new QMenuBar(this);
    QMenu* file = menus->addMenu("&File");
    file->setObjectName("FM");
    QAction* print = file->addAction("&Print");
    print->setObjectName("FMPrint");
    print->setShortcut(QKeySequence("Ctrl+P"));
    QAction* printSetup = file->addAction("Print Se&tup");
    printSetup->setObjectName("MenuPrintSetup");
    // The items shown, in their order, under the list's name.
    connect(print, &QAction::triggered, this, [this] {
        std::string title = listName_.toStdString();
        PrintOut(this, session_, listName_, [&](PrintPage page, const PrintMeasure& measure) {
            // Only now, once the print-out is really made, is every price wanted.
            model_.ReadAllPrices();
            return LayOutPriceList(model_, title, session_.Settings(), page, measure);
        });
    });
    connect(printSetup, &QAction::triggered, this, [this] { PrintSetup(this, session_); });
    // A supplier's prices in and the list out, beside the items above.
    file->addSeparator();
    QAction* importItems = file->addAction("&Import Items...");
    importItems->setObjectName("FMImport");
    QAction* exportItems = file->addAction("&Export Items...");
    exportItems->setObjectName("FMExport");
    QAction* undoImport = file->addAction("&Undo Last Import");
    undoImport->setObjectName("FMUndoImport");
    connect(file, &QMenu::aboutToShow, this, [this, undoImport] {
        undoImport->setEnabled(!session_.ReadOnly() && CanUndoLastImport(listFolder_));
    });
    // A desk that only reads the folder finds, prints and exports items, and changes none.
    importItems->setEnabled(!session_.ReadOnly());
    connect(importItems, &QAction::triggered, this, [this] {
        std::size_t shown = 0;
        bool changed = ImportItems(this, session_, listFolder_, WritingProgress(shown));
        HideWritingProgress();
        if (changed) AfterListChange();
    });
    connect(undoImport, &QAction::triggered, this, [this] {
        std::size_t shown = 0;
        bool changed = UndoImport(this, session_, listFolder_, WritingProgress(shown));
        HideWritingProgress();
        if (changed) AfterListChange();
    });
    connect(exportItems, &QAction::triggered, this,
            [this] { ExportItems(this, session_, listFolder_, listName_); });
    // The costings that use the item last chosen, before its price changes or it goes.
    QAction* whereUsed = file->addAction("&Where Used...");
    whereUsed->setObjectName("FMWhereUsed");
    connect(whereUsed, &QAction::triggered, this, [this] {
        std::string item = TrimBlanks(nameField_->text().toStdString());
        // With no item typed or chosen, the highlighted row's.
        std::int32_t highlighted = highlightedRow_ >= 0 ? rows_.EntryAt(highlightedRow_) : -1;
        if (item.empty() && highlighted >= 0)
            item = model_.ItemList()[static_cast<std::size_t>(highlighted)].name;
        if (item.empty()) {
            session_.dialogs.AskAndLatch(this, kChooseAnItemFirst, PromptIcon::None,
                                         PromptButtons::Ok);
            return;
        }
        WhereUsedBox box(
            this, "\"" + Q(item) + "\"",
            FindWhereUsed(session_.Paths, {false, session_.Settings().CurrentList, item}), false);
        box.exec();
        session_.Keys.Set();
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menus);
    layout->addWidget(area_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    helpPanel_ = new HelpPanel(menus, session_, &Settings::PricesHelp, {"HMHide", "HMShow"},
                               [this](bool shown) { ResizeForHelpPanel(shown); });
}

void PriceListEditor::BuildEditor(QWidget* area) {
    auto* frame = new QFrame(area);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(8, 8, kAreaWidth - 8, 96);
    Text("Item Name", frame, {8, 6, 320, 18});
    nameField_ = new QLineEdit(frame);
    nameField_->setObjectName("AddText");
    nameField_->setGeometry(8, 24, 330, 26);
    nameField_->setMaxLength(static_cast<int>(kMaxNameLength));
    nameField_->setValidator(new CodePageValidator(nameField_));
    Text("Item Price", frame, {346, 6, 160, 18});
    // No length limit on the field itself: that would cut a price the program shows there.
    // Typing is held to its limit as the keys arrive.
    priceField_ = new QLineEdit(frame);
    priceField_->setObjectName("AddPrice");
    priceField_->setGeometry(346, 24, 166, 26);
    auto* addButton = new QPushButton("Add or Update", frame);
    addButton->setObjectName("AddBtn");
    addButton->setGeometry(8, 60, 160, 28);
    addButton->setAutoDefault(false);
    deleteButton_ = new QPushButton("Delete", frame);
    deleteButton_->setObjectName("DelBtn");
    deleteButton_->setGeometry(176, 60, 100, 28);
    deleteButton_->setAutoDefault(false);
    deleteButton_->setEnabled(false);
    addButton->setEnabled(!session_.ReadOnly());
    priceField_->setReadOnly(session_.ReadOnly());
    connect(addButton, &QPushButton::clicked, this, &PriceListEditor::AddBtn_Click);
    connect(deleteButton_, &QPushButton::clicked, this, &PriceListEditor::DelBtn_Click);
    for (QLineEdit* field : {nameField_, priceField_}) field->installEventFilter(this);
}

void PriceListEditor::BuildRows(QWidget* area) {
    // The price column is as wide as the widest price there can be; names get the rest.
    QFont font = area->font();
    font.setFamily(UiFontFamily());
    QString widest = Q(AmountText(Amount::FromRaw(INT64_MIN)));
    int priceWidth = std::max(152, QFontMetrics(font).horizontalAdvance(widest) + 4 * kIndent);
    for (int r = 0; r < kRows; ++r) {
        int y = kRowsTop + r * kRowHeight;
        itemLabels_[r] = new RowLabel(area, {8, y, kRowsWidth - priceWidth, kRowHeight});
        itemLabels_[r]->setObjectName(QString("Item%1").arg(r));
        priceLabels_[r] =
            new RowLabel(area, {8 + kRowsWidth - priceWidth, y, priceWidth, kRowHeight});
        priceLabels_[r]->setObjectName(QString("Price%1").arg(r));
        priceLabels_[r]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        for (QLabel* label : {itemLabels_[r], priceLabels_[r]}) {
            label->setAutoFillBackground(true);
            label->setIndent(kIndent);
            label->installEventFilter(this);
        }
    }
    slider_ = new QScrollBar(Qt::Vertical, area);
    slider_->setObjectName("Slider");
    slider_->setGeometry(8 + kRowsWidth, kRowsTop, 20, kRows * kRowHeight);
    slider_->setSingleStep(1);
    slider_->setFocusPolicy(Qt::NoFocus);
    UpdateSlider();
    // The highlight stays on its row while the items scroll under it.
    connect(slider_, &QScrollBar::valueChanged, this, [this](int value) {
        if (rows_.ScrollTo(value) != RowMove::None) Showit();
    });
}

void PriceListEditor::BuildFilters(QWidget* area) {
    filters_ = new FilterPanel(area, kAreaWidth - 8);
    filters_->move(8, kRowsTop + kRows * kRowHeight + 8);
    connect(filters_, &FilterPanel::applied, this, &PriceListEditor::FilterOption_Click);
    for (int k = 1; k < 4; ++k) filters_->Text(k)->installEventFilter(this);
}

void PriceListEditor::BuildProgress(QWidget* area) {
    progressFrame_ = new QFrame(area);
    progressFrame_->setObjectName("ProgFrame");
    progressFrame_->setFrameShape(QFrame::Box);
    progressFrame_->setGeometry(64, kRowsTop + 100, 400, 110);
    progressFrame_->setAutoFillBackground(true);
    Text("Loading price list......................", progressFrame_, {16, 12, 368, 18});
    Text("Please wait.............", progressFrame_, {16, 34, 368, 18});
    progressBar_ = new ProgressBar(progressFrame_);
    progressBar_->setGeometry(16, 64, 368, 22);
    progressFrame_->hide();
}

void PriceListEditor::BuildHelpPanel(QWidget* area) {
    helpFrame_ = new QFrame(area);
    helpFrame_->setObjectName("HelpFrame");
    helpFrame_->setGeometry(kAreaWidth + 8 - 2, 8, kHelpWidth - 6, kHeight - 16);
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
        QLabel* label = Text(texts[i], helpFrame_, {0, tops[i], kHelpWidth - 6, heights[i]});
        if (i == 3) {
            label->setAutoFillBackground(true);
            Colour(label, QPalette::Window, kLightYellow);
        }
    }
}

void PriceListEditor::ResizeForHelpPanel(bool shown) {
    if (helpPanel_) TakeMonitorOffset(session_, this);  // a change, not the opening
    helpFrame_->setVisible(shown);
    int change = kHelpWidth + Twips(90);
    area_->setFixedWidth(kAreaWidth + kHelpWidth + 8 - (shown ? 0 : change));
    adjustSize();
    if (helpPanel_) CentreOnScreenOf(this, this, session_);
}

void PriceListEditor::Hlt(int row) {
    if (row == highlightedRow_) return;
    highlightedRow_ = row;
    QPalette base = palette();
    for (int r = 0; r < kRows; ++r) {
        bool lit = r == row;
        for (QLabel* label : {itemLabels_[r], priceLabels_[r]}) {
            Colour(label, QPalette::Window, lit ? base.color(QPalette::Highlight) : Qt::white);
            Colour(label, QPalette::WindowText,
                   lit ? base.color(QPalette::HighlightedText) : Qt::black);
        }
    }
}

void PriceListEditor::Showit() {
    const std::vector<ListEntry>& items = model_.ItemList();
    // The prices of the rows in sight, and only those, are read now.
    model_.ReadPrices(rows_.Top(), kRows);
    for (int r = 0; r < kRows; ++r) {
        std::int32_t i = rows_.EntryAt(r);
        ShowName(itemLabels_[r], i >= 0 ? Q(items[static_cast<std::size_t>(i)].name) : QString());
        priceLabels_[r]->setText(i >= 0 ? Q(AmountText(model_.PriceAt(i))) : "");
    }
}

void PriceListEditor::UpdateSlider() {
    rows_.SetEntries(model_.LastIndex() + 1);
    const QSignalBlocker quiet(slider_);
    slider_->setMaximum(rows_.SliderMaximum());
    slider_->setPageStep(rows_.PageStep());
    slider_->setValue(rows_.Top());
}

void PriceListEditor::LoadList() {
    listLoaded_ = true;
    // The loading frame shows while the names are read; the prices wait for their rows.
    progressBar_->Begin(1);
    progressFrame_->show();
    repaint();
    model_.LoadNames(listFolder_, filters_->Filter());
    rows_.Reset(0);
    UpdateSlider();
    Hlt(rows_.Current());
    if (model_.LastIndex() == -1) {
        progressFrame_->hide();
        Showit();
        return;
    }
    rows_.Reset(model_.LastIndex() + 1);
    UpdateSlider();
    Pause(200);
    progressBar_->Complete();
    Pause(200);
    progressFrame_->hide();
    Showit();
}

ImportProgress PriceListEditor::WritingProgress(std::size_t& shown) {
    return [this, &shown](std::size_t done, std::size_t total) {
        if (shown == 0) {
            progressBar_->Begin(static_cast<std::int64_t>(total));
            progressFrame_->show();
            repaint();
        }
        progressBar_->Advance(static_cast<std::int64_t>(done - shown));
        shown = done;
    };
}

void PriceListEditor::HideWritingProgress() {
    progressFrame_->hide();
    // What the bar covered is drawn again before the list is read anew.
    repaint();
}

void PriceListEditor::AfterListChange() {
    nameField_->clear();
    priceField_->clear();
    deleteButton_->setEnabled(false);
    LoadList();
    session_.sounds.PlayPing();
}

void PriceListEditor::AddBtn_Click() {
    if (RefuseWhileReadOnly(this, session_)) return;
    nameField_->setFocus();
    ItemEntry entry =
        CheckItemEntry(nameField_->text().toStdString(), priceField_->text().toStdString());
    nameField_->setText(Q(entry.shownName));
    switch (entry.refusal) {
        case EntryRefusal::None:
            break;
        case EntryRefusal::EmptyName:
        case EntryRefusal::UnusableName:
            session_.sounds.PlayAsterisk();
            return;
        case EntryRefusal::EmptyPrice:
        case EntryRefusal::PriceTooLarge:
            session_.sounds.PlayAsterisk();
            session_.dialogs.Ask(
                this,
                entry.refusal == EntryRefusal::EmptyPrice ? kPleaseEnterPrice : kPriceTooLarge,
                PromptIcon::None, PromptButtons::Ok);
            priceField_->setFocus();
            return;
    }
    if (model_.AddOrUpdate(listFolder_, entry.name, entry.price)) UpdateSlider();
    priceField_->setText(Q(AmountText(entry.price)));
    Showit();
    nameField_->selectAll();
    deleteButton_->setEnabled(false);
    session_.sounds.PlayPing();
}

void PriceListEditor::DelBtn_Click() {
    if (RefuseWhileReadOnly(this, session_)) return;
    nameField_->setFocus();
    model_.Delete(listFolder_, nameField_->text().toStdString());
    UpdateSlider();
    Showit();
    nameField_->clear();
    priceField_->clear();
}

void PriceListEditor::ChooseRow(int row) {
    std::int32_t i = rows_.EntryAt(row);
    if (i < 0) return;
    std::string name(model_.ItemList()[static_cast<std::size_t>(i)].name);
    nameField_->setText(Q(name));
    // From the file, not from memory: another window may have changed it meanwhile.
    priceField_->setText(Q(AmountText(ReadItemPrice(listFolder_, name))));
    deleteButton_->setEnabled(!session_.ReadOnly());
    rows_.Choose(row);
    Hlt(row);
    priceField_->setFocus();
    priceField_->selectAll();
}

void PriceListEditor::FilterOption_Click(int k) {
    nameField_->setFocus();
    // "All Items" chosen again has nothing to load anew.
    bool reload = !(k == 0 && filters_->Choice() == 0);
    filters_->Show(k);
    if (!reload || !listLoaded_) return;
    LoadList();
    if (k > 0) filters_->Text(k)->setFocus();
}

bool PriceListEditor::PreviewKey(QWidget* receiver, QKeyEvent* key) {
    bool up = key->key() == Qt::Key_Up, down = key->key() == Qt::Key_Down;
    if (key->type() == QEvent::KeyPress) {
        if (up || down) {
            RowMove move = down ? rows_.Down() : rows_.Up();
            if (move == RowMove::Cursor) Hlt(rows_.Current());
            if (move == RowMove::Scrolled) {
                UpdateSlider();
                Showit();
            }
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            reject();
            return true;
        }
        if (receiver == nameField_) return NameKeyPress(key);
        if (receiver == priceField_) return PriceKeyPress(key);
        return false;
    }
    if (key->isAutoRepeat()) return false;
    if (up || down) {
        ChooseRow(rows_.Current());
        return true;
    }
    if (key->key() == Qt::Key_F1) OpenDocumentation(session_);
    return false;
}

bool PriceListEditor::NameKeyPress(QKeyEvent* key) {
    if (IsEnter(key)) {
        AddBtn_Click();
        return true;
    }
    if (!TypesCharacter(key)) return false;
    deleteButton_->setEnabled(false);
    QChar c = key->text()[0];
    if (c.isPrint() &&
        (!IsAllowedInItemName(c.unicode()) || !CodePageValidator::Fits(key->text()))) {
        session_.sounds.PlayAsterisk();
        return true;
    }
    return false;
}

bool PriceListEditor::PriceKeyPress(QKeyEvent* key) {
    if (IsEnter(key)) {
        AddBtn_Click();
        return true;
    }
    if (!TypesCharacter(key)) return false;
    deleteButton_->setEnabled(false);
    if (key->modifiers() & Qt::ControlModifier) return false;  // paste and the like
    switch (CheckPriceKey(key->text()[0].unicode(),
                          static_cast<std::size_t>(priceField_->text().size()),
                          static_cast<std::size_t>(priceField_->selectedText().size()))) {
        case PriceKey::Accepted:
            return false;
        case PriceKey::Refused:
            session_.sounds.PlayAsterisk();
            return true;
        case PriceKey::Full:
            return true;
    }
    return true;
}

bool PriceListEditor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == nameField_ && !loadAsked_) {
            // The list is read once the window is on the screen with the loading frame over
            // its rows, so a long one shows that it is loading instead of keeping the window
            // from appearing.
            loadAsked_ = true;
            progressBar_->Begin(1);
            progressFrame_->show();
            AfterNextPaint(progressFrame_, [this] { LoadList(); });
        } else if (auto* field = qobject_cast<QLineEdit*>(watched)) {
            QTimer::singleShot(0, field, [field] { field->selectAll(); });
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int r = 0; r < kRows; ++r) {
            if (watched == itemLabels_[r] || watched == priceLabels_[r]) {
                ChooseRow(r);
                return true;
            }
        }
    }
    return false;
}

}  // namespace quantora
