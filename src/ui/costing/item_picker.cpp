#include "ui/costing/item_picker.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "manage/name_index.h"
#include "ui/common/after_paint.h"
#include "ui/common/filter_panel.h"
#include "ui/common/help_panel.h"
#include "ui/common/key_preview.h"
#include "ui/common/slot_column.h"
#include "ui/common/window_placement.h"
#include "ui/common/window_scaling.h"
#include "ui/costing/item_names.h"
#include "ui/session.h"

namespace quantora {

namespace {

constexpr int kWidth = 560, kListsHeight = 300, kHelpHeight = 110;

bool IsEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

void Shade(QAbstractItemView* list, QPalette::ColorRole role) {
    QPalette p = list->palette();
    p.setColor(QPalette::Base, list->palette().color(role));
    list->setPalette(p);
}

}  // namespace

ItemPicker::ItemPicker(QWidget* sheet, Session& session) : QDialog(sheet), session_(session) {
    setObjectName("Pickitem");
    setWindowTitle(" Select Item");
    auto* area = new QWidget(this);
    area->setObjectName("Area");
    priceLists_ = new QListWidget(area);
    priceLists_->setObjectName("PriceList");
    priceLists_->setGeometry(8, 8, 200, kListsHeight);
    Shade(priceLists_, QPalette::Button);
    // A view over the list's own names: a supplier's list of a million items is not copied
    // into a million list entries.
    items_ = new QListView(area);
    items_->setObjectName("ItemList");
    items_->setGeometry(216, 8, kWidth - 224, kListsHeight);
    items_->setUniformItemSizes(true);
    items_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    names_ = new ItemNames(items_);
    items_->setModel(names_);
    filters_ = new FilterPanel(area, kWidth - 120);
    filters_->move(8, kListsHeight + 16);
    auto* cancel = new QPushButton("Cancel", area);
    cancel->setObjectName("CancelBtn");
    cancel->setAutoDefault(false);
    cancel->setGeometry(kWidth - 104, kListsHeight + 16, 96, 28);
    helpFrame_ = NewHelpFrame(area, "HelpFrame", {8, kListsHeight + 154, kWidth - 16, kHelpHeight});
    auto* help = new QLabel(
        "If your price list is long, use the filters above to help you find the item you want.\n"
        "The white panel lists the items in the current price list.  Choose the one you want by "
        "clicking on it or by highlighting it with the up and down keys then pressing ENTER.   "
        "If the item you want is not in the current price list, you can change price lists by "
        "clicking on the price list you want in the grey panel.\n"
        "You can close this window with the Esc key as well as the cancel button.",
        helpFrame_);
    help->setWordWrap(true);
    help->setGeometry(8, 4, kWidth - 32, kHelpHeight - 8);
    area->setFixedSize(kWidth, kListsHeight + 154 + kHelpHeight + 8);

    auto* menus = new QMenuBar(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menus);
    layout->addWidget(area);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    helpPanel_ = new HelpPanel(menus, session_, &Settings::PickHelp, {"HMOff", "HMOn"},
                               [this](bool shown) { ResizeForHelpPanel(shown); });

    // The filter and its texts as they were left last time in this run.
    for (int k = 1; k < 4; ++k)
        filters_->Text(k)->setText(QString::fromStdString(session_.PickerFilters.texts[k]));
    filters_->Show(session_.PickerFilters.choice);
    connect(filters_, &FilterPanel::applied, this, &ItemPicker::FilterChosen);
    for (int k = 1; k < 4; ++k)
        connect(filters_->Text(k), &QLineEdit::textEdited, this, [this, k](const QString& text) {
            session_.PickerFilters.texts[k] = text.toStdString();
        });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(items_, &QListView::clicked, this, &ItemPicker::Choose);
    priceLists_->installEventFilter(this);
    priceLists_->viewport()->installEventFilter(this);
    new KeyPreview(this, session_.Keys,
                   [this](QWidget* receiver, QKeyEvent* key) { return PreviewKey(receiver, key); });

    ScaleForm(this);
    adjustSize();
    TakeMonitorOffset(session_, sheet);
    CentreOnScreenOf(this, sheet, session_);
    LoadPriceLists();
}

std::optional<std::string> ItemPicker::Pick() {
    chosen_.reset();
    exec();
    return chosen_;
}

void ItemPicker::ResizeForHelpPanel(bool shown) {
    helpFrame_->setVisible(shown);
    QWidget* area = findChild<QWidget*>("Area");
    int full = kListsHeight + 154 + kHelpHeight + 8;
    area->setFixedHeight(shown ? full : full - kHelpHeight - Twips(90) + 8);
    adjustSize();
}

void ItemPicker::LoadPriceLists() {
    IndexColumn column =
        LoadIndexColumn(session_.Paths, session_.Settings(), NameIndex::PriceLists);
    ShowSlotColumn(priceLists_, column);
    if (column.selected < 0) {
        itemsLoaded_ = true;
        return;
    }
    // The picker is on the screen before a long list is read, which draws nothing meanwhile;
    // a list chosen in the meantime has been read already.
    AfterNextPaint(items_->viewport(), [this] {
        if (!itemsLoaded_) LoadItems();
    });
}

void ItemPicker::LoadItems() {
    names_->Load(session_.Paths.ListFolder(session_.Settings().CurrentList), filters_->Filter());
    itemsLoaded_ = true;
    if (names_->rowCount() > 0) items_->setCurrentIndex(names_->index(0));
    items_->setFocus();
}

void ItemPicker::PriceListChosen() {
    std::optional<std::int16_t> slot = SelectedSlot(priceLists_);
    if (!slot) return;
    // The list chosen here becomes the current one, in the management window too.
    session_.SelectEntry(NameIndex::PriceLists, *slot);
    LoadItems();
}

void ItemPicker::FilterChosen(int k) {
    filters_->Show(k);
    session_.PickerFilters.choice = k;
    if (SelectedSlot(priceLists_)) LoadItems();
    items_->setFocus();
}

void ItemPicker::Choose() {
    QModelIndex item = items_->currentIndex();
    if (!item.isValid()) return;
    chosen_ = names_->NameAt(item.row());
    accept();
}

bool ItemPicker::PreviewKey(QWidget* receiver, QKeyEvent* key) {
    if (key->type() != QEvent::KeyRelease || key->isAutoRepeat()) {
        if (IsEnter(key) && !key->isAutoRepeat()) enterPressedIn_ = receiver;
        // Enter and Esc act when released; the presses go nowhere.
        bool inFilterText = receiver == filters_->Text(1) || receiver == filters_->Text(2) ||
                            receiver == filters_->Text(3);
        return (IsEnter(key) && !inFilterText) || key->key() == Qt::Key_Escape;
    }
    // Enter in a filter box chose that filter and put the keyboard in the item column: its
    // release there is not a second Enter that picks.
    if (IsEnter(key) && std::exchange(enterPressedIn_, nullptr) != receiver) return true;
    if (key->key() == Qt::Key_Escape) {
        // A filter is put aside first; the next Esc cancels.
        if (filters_->Choice() != 0)
            FilterChosen(0);
        else
            reject();
        return true;
    }
    if (IsEnter(key) && receiver == items_) {
        Choose();
        return true;
    }
    if (IsEnter(key) && receiver == priceLists_) {
        PriceListChosen();
        return true;
    }
    return false;
}

bool ItemPicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == priceLists_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        PriceListChosen();
        return false;
    }
    // The arrow keys always move through the items.
    if (watched == priceLists_ && event->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason)
        items_->setFocus();
    return QDialog::eventFilter(watched, event);
}

}  // namespace quantora
