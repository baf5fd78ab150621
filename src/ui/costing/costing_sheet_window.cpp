#include "ui/costing/costing_sheet_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <ctime>

#include "costing/costing_export.h"
#include "costing/costing_print.h"
#include "costing/job_editing.h"
#include "costing/pricing.h"
#include "costing/quote_print.h"
#include "costing/quote_record.h"
#include "datafolder/read_only_desk.h"
#include "platform/sounds.h"
#include "pricelists/item_file.h"
#include "services/clock_text.h"
#include "store/data_file.h"
#include "store/name_slots.h"
#include "store/own_settings.h"
#include "ui/common/dialogs.h"
#include "ui/common/help_panel.h"
#include "ui/common/key_preview.h"
#include "ui/common/print_out.h"
#include "ui/common/row_label.h"
#include "ui/common/window_placement.h"
#include "ui/common/window_scaling.h"
#include "ui/costing/item_picker.h"
#include "ui/costing/job_selector.h"
#include "ui/costing/price_changes_box.h"
#include "ui/costing/pricing_progress_window.h"
#include "ui/costing/quant_field.h"
#include "ui/costing/save_as_dialog.h"
#include "ui/session.h"

namespace quantora {

namespace {

constexpr int kRowHeight = 22;
constexpr int kRowsTop = 52;
constexpr int kQuantWidth = 110, kItemWidth = 330, kPriceWidth = 190, kSubTotWidth = 190;
constexpr int kAreaWidth = 8 + kQuantWidth + kItemWidth + kPriceWidth + kSubTotWidth + 28;
constexpr int kHelpHeight = 150;

QString Q(const std::string& text) { return QString::fromStdString(text); }

QLabel* Label(const QString& text, QWidget* parent, QRect at, bool bold = false) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(at);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

bool IsEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

CostingSheet::ReleasedKey Released(const QKeyEvent* key) {
    if (IsEnter(key) || key->key() == Qt::Key_Down) return CostingSheet::ReleasedKey::EnterOrDown;
    if (key->key() == Qt::Key_Up) return CostingSheet::ReleasedKey::Up;
    if (key->key() == Qt::Key_Escape) return CostingSheet::ReleasedKey::Escape;
    if (key->key() == Qt::Key_Control || (key->modifiers() & Qt::ControlModifier))
        return CostingSheet::ReleasedKey::Control;
    return CostingSheet::ReleasedKey::Other;
}

}  // namespace

CostingSheetWindow::CostingSheetWindow(QWidget* managementWindow, Session& session)
    : managementWindow_(managementWindow), session_(session) {
    setObjectName("Sheet");
    setWindowTitle(kProgramTitle);
    setWindowIcon(managementWindow->windowIcon());
    area_ = new QWidget(this);
    area_->setObjectName("Area");
    setCentralWidget(area_);
    BuildRows(area_);
    BuildHelpPanel(area_);
    area_->setFixedSize(kAreaWidth, kRowsTop + kRows * kRowHeight + 48 + kHelpHeight + 16);
    BuildMenus();
    new KeyPreview(this, session_.Keys,
                   [this](QWidget* receiver, QKeyEvent* key) { return PreviewKey(receiver, key); });
    ScaleForm(this);
    adjustSize();
    TakeMonitorOffset(session_, managementWindow);
    CentreOnScreenOf(this, managementWindow, session_);

    clockTimer_ = new QTimer(this);
    clockTimer_->setInterval(2000);
    connect(clockTimer_, &QTimer::timeout, this, &CostingSheetWindow::ShowClock);
    clockTimer_->start();
    ShowClock();

    jobName_->setText(Q(session_.CurrentJobName));
    // The working copy is made from the saved job, priced again from its sources; the
    // windows follow the engine.
    PricingProgress progress(this, session_);
    ReloadResult reloaded;
    progress.Run([&](PricingObserver& observer) {
        reloaded = Reload(session_.Paths, session_.CurrentJob(), observer);
    });
    sheet_ = std::make_unique<CostingSheet>(session_.Paths.TempJob(),
                                            static_cast<std::int32_t>(reloaded.lines.size()),
                                            reloaded.lines, reloaded.total);
    opened_ = std::move(reloaded);
    ShowPriceChanges();
    ShowRows();
    ShowSlider();
    Hlt();
}

CostingSheetWindow::~CostingSheetWindow() = default;

void CostingSheetWindow::BuildRows(QWidget* area) {
    int x = 8;
    const int widths[] = {kQuantWidth, kItemWidth, kPriceWidth, kSubTotWidth};
    const char* headings[] = {"Quantity", "Item", "Price", "Sub Total"};
    jobName_ = Label("", area, {8, 6, kAreaWidth - 16, 20}, true);
    jobName_->setObjectName("JobNameLabel");
    for (int c = 0; c < 4; ++c) {
        Label(headings[c], area, {x + 4, kRowsTop - 22, widths[c] - 8, 20}, true);
        x += widths[c];
    }
    for (int r = 0; r < kRows; ++r) {
        int y = kRowsTop + r * kRowHeight;
        quant_[r] = new QuantField(area);
        quant_[r]->setObjectName(QString("Quant%1").arg(r));
        quant_[r]->setGeometry(8, y, kQuantWidth, kRowHeight);
        quant_[r]->setAlignment(Qt::AlignRight);
        quant_[r]->installEventFilter(this);
        quant_[r]->setReadOnly(session_.ReadOnly());
        item_[r] = new RowLabel(area, {8 + kQuantWidth, y, kItemWidth, kRowHeight});
        item_[r]->setObjectName(QString("Item%1").arg(r));
        price_[r] = new RowLabel(area, {8 + kQuantWidth + kItemWidth, y, kPriceWidth, kRowHeight});
        price_[r]->setObjectName(QString("Price%1").arg(r));
        subTot_[r] = new RowLabel(
            area, {8 + kQuantWidth + kItemWidth + kPriceWidth, y, kSubTotWidth, kRowHeight});
        // In the margin: a line whose price changed since the job was saved.
        changeMark_[r] = new QLabel(QString::fromUtf8("\u2022"), area);
        changeMark_[r]->setObjectName(QString("ChangeMark%1").arg(r));
        changeMark_[r]->setGeometry(0, y, 8, kRowHeight);
        changeMark_[r]->setAlignment(Qt::AlignCenter);
        changeMark_[r]->hide();
        subTot_[r]->setObjectName(QString("SubTot%1").arg(r));
        for (QLabel* label : {item_[r], price_[r], subTot_[r]}) {
            label->setAutoFillBackground(true);
            label->setIndent(4);
            label->installEventFilter(this);
            QPalette p = label->palette();
            p.setColor(QPalette::Window, Qt::white);
            p.setColor(QPalette::WindowText, Qt::black);
            label->setPalette(p);
        }
        price_[r]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        subTot_[r]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    int below = kRowsTop + kRows * kRowHeight + 8;
    Label("Total", area, {8 + kQuantWidth + kItemWidth, below, kPriceWidth, 22}, true);
    total_ = Label("", area, {8 + kQuantWidth + kItemWidth + kPriceWidth, below, kSubTotWidth, 22},
                   true);
    total_->setObjectName("Total");
    total_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    slider_ = new QScrollBar(Qt::Vertical, area);
    slider_->setObjectName("Slider");
    slider_->setGeometry(kAreaWidth - 24, kRowsTop, 20, kRows * kRowHeight);
    slider_->setFocusPolicy(Qt::NoFocus);
    slider_->setAttribute(Qt::WA_OpaquePaintEvent);
    connect(slider_, &QScrollBar::valueChanged, this, [this](int value) {
        if (!sheet_ || value == sheet_->TopLine()) return;
        sheet_->SetQuantText(sheet_->CurrentRow(),
                             quant_[sheet_->CurrentRow()]->text().toStdString());
        sheet_->ScrollTo(value);
        ShowRows();
        FocusCurrentRow();
    });
}

void CostingSheetWindow::BuildHelpPanel(QWidget* area) {
    helpFrame_ = NewHelpFrame(
        area, "HelpFrame", {8, kRowsTop + kRows * kRowHeight + 40, kAreaWidth - 16, kHelpHeight});
    const char* texts[] = {
        "You cost your job by entering quantities and choosing items from your price lists.  "
        "Displaying the price lists choice window is semi automatic.  It pops up when you press "
        "ENTER or DOWN from the last item.",
        "To redisplay it for a line that has already been filled, you can hit SPACE, click on the "
        "item name or use \"Pick from Price Lists\" on the Edit menu.",
        "Any job costing can contain previously saved jobs as items. To include a previously "
        "saved job, use the \"Pick from Other Jobs\" Item on the edit menu.",
        "If a job is to consist mainly of other jobs, you can change the Auto Pick setting from "
        "price lists to other jobs."};
    int width = (kAreaWidth - 16 - 40) / 4;
    for (int i = 0; i < 4; ++i) {
        QLabel* text =
            Label(texts[i], helpFrame_, {8 + i * (width + 8), 6, width, kHelpHeight - 12});
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
}

void CostingSheetWindow::BuildMenus() {
    auto named = [](QAction* action, const char* name) {
        action->setObjectName(name);
        return action;
    };
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("MenuFile");
    QAction* save = named(file->addAction("&Save"), "MenuSave");
    save->setShortcut(QKeySequence("Ctrl+S"));
    QAction* saveAs = named(file->addAction("Save &As..."), "MenuSaveAs");
    file->addSeparator();
    QAction* print = named(file->addAction("&Print"), "MenuPrint");
    print->setShortcut(QKeySequence("Ctrl+P"));
    QAction* printSetup = named(file->addAction("Print Se&tup"), "MenuPrintSetup");
    file->addSeparator();
    QAction* remove = named(file->addAction("&Delete"), "MenuDelete");
    file->addSeparator();
    QAction* exit = named(file->addAction("E&xit"), "MenuExit");
    // For the customer and the accountant's spreadsheet, beside the items above.
    file->addSeparator();
    QAction* quote = named(file->addAction("Print &Quote..."), "MenuPrintQuote");
    connect(quote, &QAction::triggered, this, [this] { PrintQuote(); });
    QAction* exportCsv = named(file->addAction("Export to &CSV..."), "MenuExportCsv");
    connect(exportCsv, &QAction::triggered, this, [this] { ExportToCsv(); });

    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("MenuEdit");
    QAction* pickPrice = named(edit->addAction("Pick from &price lists"), "MenuPickPrice");
    QAction* pickJob = named(edit->addAction("Pick from &other jobs"), "MenuPickJob");
    edit->addSeparator();
    QAction* sort = named(edit->addAction("&Sort items alphabetically"), "MenuSort");
    edit->addSeparator();
    QAction* deleteLine = named(edit->addAction("&Delete Line"), "MenuDelLine");
    QMenu* autoPick = edit->addMenu("&Auto Pick....");
    autoPick->setObjectName("MenuPick");
    autoPrices_ = named(autoPick->addAction("&Price lists"), "MenuAutoPrices");
    autoJobs_ = named(autoPick->addAction("&Other jobs"), "MenuautoJobs");
    auto* choice = new QActionGroup(this);
    for (QAction* action : {autoPrices_, autoJobs_}) {
        action->setCheckable(true);
        choice->addAction(action);
    }
    autoPrices_->setChecked(true);
    // What the opening's repricing changed, below the menu's own items.
    edit->addSeparator();
    QAction* changes = named(edit->addAction("Price &Changes..."), "MenuPriceChanges");
    changes->setShortcut(QKeySequence("Ctrl+Shift+C"));
    connect(changes, &QAction::triggered, this, [this] { ListPriceChanges(); });

    helpPanel_ = new HelpPanel(menuBar(), session_, &Settings::SheetHelp, {"HMOff", "HMOn"},
                               [this](bool shown) { ResizeForHelpPanel(shown); });

    connect(save, &QAction::triggered, this, [this] { Save(false); });
    connect(saveAs, &QAction::triggered, this, &CostingSheetWindow::SaveAs);
    connect(remove, &QAction::triggered, this, &CostingSheetWindow::DeleteJob);
    connect(print, &QAction::triggered, this, &CostingSheetWindow::Print);
    connect(printSetup, &QAction::triggered, this, [this] { PrintSetup(this, session_); });
    connect(exit, &QAction::triggered, this, &QWidget::close);
    connect(sort, &QAction::triggered, this,
            [this] { RearrangeLines([this] { sheet_->SortLines(session_.Paths.SpareJob()); }); });
    connect(deleteLine, &QAction::triggered, this, [this] {
        RearrangeLines([this] { sheet_->DeleteCurrentLine(session_.Paths.SpareJob()); });
    });
    connect(pickPrice, &QAction::triggered, this, &CostingSheetWindow::PickFromPriceLists);
    connect(pickJob, &QAction::triggered, this, &CostingSheetWindow::PickFromOtherJobs);
    // A desk that only reads the folder shows the costing, prints and exports it, and
    // changes nothing.
    if (session_.ReadOnly())
        for (QAction* action :
             {save, saveAs, remove, pickPrice, pickJob, sort, deleteLine, autoPick->menuAction()})
            action->setEnabled(false);
}

void CostingSheetWindow::ResizeForHelpPanel(bool shown) {
    if (helpFrame_->isHidden() == !shown) return;  // already as asked
    helpFrame_->setVisible(shown);
    int change = kHelpHeight + Twips(90);
    area_->setFixedHeight(area_->height() + (shown ? change : -change));
    adjustSize();
}

void CostingSheetWindow::ShowRow(int row) {
    const SheetRow& shown = sheet_->Row(row);
    if (QString quant = Q(shown.quant); quant_[row]->text() != quant) quant_[row]->setText(quant);
    item_[row]->setText(Q(shown.item));
    price_[row]->setText(Q(shown.price));
    subTot_[row]->setText(Q(shown.subTot));
    auto line = static_cast<std::size_t>(sheet_->TopLine() + row);
    changeMark_[row]->setVisible(line < changedLine_.size() && changedLine_[line]);
}

void CostingSheetWindow::ShowPriceChanges() {
    quoted_ = ReadQuoteRecord(
        QuoteRecordPath(session_.Paths, session_.Settings().CurrentGroup, session_.CurrentJobName));
    std::optional<std::string> sinceQuote;
    if (quoted_) {
        SinceQuote since = ChangesSinceQuote(*quoted_, opened_.lines);
        sinceQuote = SinceQuoteNote(*quoted_, since.quotedTotal, opened_.total);
    }
    if (!opened_.changes.empty()) {
        changedLine_.assign(opened_.lines.size(), false);
        for (const PriceChange& change : opened_.changes)
            changedLine_[static_cast<std::size_t>(change.line)] = true;
    }
    std::optional<std::string> note =
        OpeningNote(opened_.changes.size(), opened_.savedTotal, opened_.total, sinceQuote);
    if (!note || !ReadOwnSettings(session_.OwnSettingsFile).priceChangeNote) return;
    changeNote_ = new QLabel(Q(*note), this);
    changeNote_->setObjectName("PriceChangeNote");
    statusBar()->addWidget(changeNote_);
}

void CostingSheetWindow::ForgetPriceChanges() {
    changedLine_.clear();
    for (QLabel* mark : changeMark_) mark->hide();
    if (changeNote_) changeNote_->hide();
}

void CostingSheetWindow::ListPriceChanges() {
    // What changed since the job was saved, which a save since has made nothing.
    PriceChangesBox box(this, session_, opened_, !changedLine_.empty(), session_.CurrentJobName,
                        quoted_);
    box.exec();
    session_.Keys.Set();
    FocusCurrentRow();
}

void CostingSheetWindow::ShowRows() {
    for (int r = 0; r < kRows; ++r) ShowRow(r);
    total_->setText(Q(sheet_->TotalText()));
}

void CostingSheetWindow::ShowSlider() {
    const QSignalBlocker quiet(slider_);
    slider_->setMaximum(sheet_->SliderMaximum());
    slider_->setSingleStep(1);
    slider_->setPageStep(sheet_->PageStep());
    slider_->setValue(sheet_->TopLine());
}

void CostingSheetWindow::FocusCurrentRow() {
    quant_[sheet_->CurrentRow()]->setFocus();
    Hlt();
}

void CostingSheetWindow::Hlt() {
    int current = sheet_->CurrentRow();
    if (current == highlighted_) return;
    // Only the row that loses the highlight and the one that gains it are painted anew.
    QPalette base = palette();
    for (int r : {highlighted_, current}) {
        if (r < 0) continue;
        bool lit = r == current;
        for (QLabel* label : {item_[r], price_[r], subTot_[r]}) {
            QPalette p = label->palette();
            p.setColor(QPalette::Window, lit ? base.color(QPalette::Highlight) : Qt::white);
            p.setColor(QPalette::WindowText,
                       lit ? base.color(QPalette::HighlightedText) : Qt::black);
            label->setPalette(p);
        }
    }
    highlighted_ = current;
}

void CostingSheetWindow::ShowClock() {
    QString clock = Q(DateTimeText(ClockNow()));
    if (clock == shownClock_) return;
    shownClock_ = clock;
    setWindowTitle(Q(session_.Caption(clock.toStdString())));
}

int CostingSheetWindow::RowOf(QObject* control) const {
    for (int r = 0; r < kRows; ++r)
        if (control == quant_[r] || control == item_[r] || control == price_[r] ||
            control == subTot_[r])
            return r;
    return -1;
}

bool CostingSheetWindow::PreviewKey(QWidget* receiver, QKeyEvent* key) {
    int row = -1;
    for (int r = 0; r < kRows; ++r)
        if (receiver == quant_[r]) row = r;
    if (key->type() == QEvent::KeyPress) {
        pressed_ = key->key();
        if (key->key() == Qt::Key_Space || key->key() == Qt::Key_Escape) return true;
        return row >= 0 && QuantKeyPress(row, key);
    }
    if (key->isAutoRepeat()) return false;
    // The release of a key pressed elsewhere (Enter that chose a menu item or closed a
    // dialog) is not a key typed in the sheet.
    if (key->key() != pressed_) return true;
    pressed_ = 0;
    if (key->key() == Qt::Key_F1) {
        OpenDocumentation(session_);
        return true;
    }
    if (key->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    if (session_.ReadOnly()) return false;
    if (key->key() == Qt::Key_Space) {
        AutoPick();
        return true;
    }
    if (row >= 0) QuantKeyReleased(row, key);
    return false;
}

bool CostingSheetWindow::QuantKeyPress(int row, QKeyEvent* key) {
    bool down = key->key() == Qt::Key_Down || IsEnter(key);
    if (key->key() == Qt::Key_Up || down) {
        sheet_->SetQuantText(row, quant_[row]->text().toStdString());
        int top = sheet_->TopLine();
        down ? sheet_->DownOrEnter() : sheet_->Up();
        if (sheet_->TopLine() != top) {
            ShowRows();
            ShowSlider();
        }
        FocusCurrentRow();
        return true;
    }
    QString text = key->text();
    if (text.isEmpty() || !text[0].isPrint() || (key->modifiers() & Qt::ControlModifier))
        return false;
    if (session_.ReadOnly()) {
        session_.sounds.PlayAsterisk();
        return true;
    }
    std::int32_t lines = sheet_->LineCount();
    if (!sheet_->TypeQuantChar(row, text[0].unicode())) {
        session_.sounds.PlayAsterisk();
        return true;
    }
    if (sheet_->LineCount() != lines) ShowSlider();
    return false;
}

void CostingSheetWindow::QuantKeyReleased(int row, QKeyEvent* key) {
    sheet_->SetQuantText(row, quant_[row]->text().toStdString());
    try {
        switch (sheet_->KeyReleased(row, Released(key))) {
            case RowKeyOutcome::None:
                break;
            case RowKeyOutcome::AutoPick:
                AutoPick();
                break;
            case RowKeyOutcome::Recomputed:
                subTot_[row]->setText(Q(sheet_->Row(row).subTot));
                total_->setText(Q(sheet_->TotalText()));
                break;
        }
    } catch (const AmountOverflow&) {
        OverflowGuard();
    }
}

void CostingSheetWindow::RearrangeLines(const std::function<void()>& rearrange) {
    sheet_->SetQuantText(sheet_->CurrentRow(), quant_[sheet_->CurrentRow()]->text().toStdString());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    rearrange();
    // The lines moved: the marks would stand beside others. The list still tells the changes.
    changedLine_.clear();
    QApplication::restoreOverrideCursor();
    ShowRows();
    ShowSlider();
    FocusCurrentRow();
}

void CostingSheetWindow::AutoPick() {
    if (autoPrices_->isChecked())
        PickFromPriceLists();
    else
        PickFromOtherJobs();
}

void CostingSheetWindow::FillCurrentRow(const std::string& item, std::int16_t kind,
                                        std::int16_t slot, Amount price) {
    try {
        sheet_->FillCurrentRow(item, kind, slot, price);
    } catch (const AmountOverflow&) {
        return OverflowGuard();
    }
    ShowRow(sheet_->CurrentRow());
    total_->setText(Q(sheet_->TotalText()));
    FocusCurrentRow();
}

void CostingSheetWindow::PickFromPriceLists() {
    sheet_->SetQuantText(sheet_->CurrentRow(), quant_[sheet_->CurrentRow()]->text().toStdString());
    ItemPicker picker(this, session_);
    std::optional<std::string> item = picker.Pick();
    if (!item) return FocusCurrentRow();
    // The list the item came from may be another than when the picker opened.
    std::int16_t list = session_.Settings().CurrentList;
    Amount price = ReadItemPrice(session_.Paths.ListFolder(list), *item);
    FillCurrentRow(*item, 0, list, price);
}

void CostingSheetWindow::PickFromOtherJobs() {
    sheet_->SetQuantText(sheet_->CurrentRow(), quant_[sheet_->CurrentRow()]->text().toStdString());
    if (!selector_) selector_ = std::make_unique<JobSelector>(this, session_);
    std::optional<ChosenJob> job = selector_->Pick();
    repaint();
    if (!job) return FocusCurrentRow();
    // The chosen job is priced through everything it includes; one that includes the open
    // job is refused with its message and the row stays as it was.
    PricingProgress progress(this, session_);
    PricingRun run(session_.Paths, session_.CurrentJob(), progress);
    PriceResult priced;
    progress.Run([&](PricingObserver&) {
        priced = run.PriceIt(session_.Paths.JobFolder(job->group) + job->name);
    });
    if (priced.cycle) return FocusCurrentRow();
    run.Commit();
    FillCurrentRow(job->name, 1, job->group, priced.total);
}

void CostingSheetWindow::OverflowGuard() {
    session_.dialogs.AskAndLatch(this, kTotalTooLarge, PromptIcon::Exclamation, PromptButtons::Ok);
    sheet_->MarkSaved();  // closed without the question: the saved job stays as it was
    close();
}

void CostingSheetWindow::Save(bool silent) {
    sheet_->SaveSection();
    SaveJob(session_.Paths, session_.CurrentJob());
    sheet_->MarkSaved();
    ForgetPriceChanges();
    if (!silent) session_.sounds.PlayPing();
}

void CostingSheetWindow::Print() {
    // The print-out shows the lines as they stand, unsaved edits and the last prices included.
    sheet_->SaveSection();
    std::vector<JobLine> lines = ReadAllLines(session_.Paths.TempJob());
    std::string title = session_.CurrentJobName, total = sheet_->TotalText();
    PrintOut(this, session_, Q(title), [&](PrintPage page, const PrintMeasure& measure) {
        return LayOutCosting(lines, title, total, session_.Settings(), page, measure);
    });
}

void CostingSheetWindow::PrintQuote() {
    sheet_->SaveSection();
    OwnSettings own = ReadOwnSettings(session_.OwnSettingsFile);
    QuoteTerms offered;
    offered.markup = own.quoteMarkup;
    offered.showUnitPrices = own.quoteShowsUnitPrices;
    std::optional<QuoteTerms> terms = session_.dialogs.AskQuoteTerms(this, offered);
    if (!terms) return;

    // Priced before anything is printed, so an amount too large stops it with nothing sent.
    std::vector<JobLine> lines = ReadAllLines(session_.Paths.TempJob());
    Quote quote = PriceQuote(lines, terms->markup);
    std::string job = session_.CurrentJobName, date = LongDateText(ClockNow());
    PrintLayOut layOut = [&](PrintPage page, const PrintMeasure& measure) {
        return LayOutQuote(quote, *terms, job, date, session_.Settings(), page, measure);
    };
    QString documentName = Q("Quote " + job);
    if (!PrintOut(this, session_, documentName, layOut)) return;
    // The shop's usual margin is offered again next time, once a quote has gone out with it;
    // failing to remember it costs nothing.
    own.quoteMarkup = terms->markup;
    own.quoteShowsUnitPrices = terms->showUnitPrices;
    WriteOwnSettings(session_.OwnSettingsFile, own);
    // What it cost when quoted, so that a later opening can tell how far it has moved.
    WriteQuoteRecord(QuoteRecordPath(session_.Paths, session_.Settings().CurrentGroup, job),
                     {static_cast<std::int64_t>(std::time(nullptr)), terms->customer, lines});
    // Kept under the minute it is written, which the user may have spent in the dialogs.
    EnsureFolder(session_.Paths.QuoteFolder());
    std::string kept = KeptQuotePath(session_.Paths.QuoteFolder(), job, ClockNow());
    if (!WritePdf(kept, session_, documentName, layOut))
        session_.dialogs.AskAndLatch(
            this, Q("The quote was printed, but its copy could not be kept as " + kept + "."),
            PromptIcon::Exclamation, PromptButtons::Ok);
    else if (session_.ReadOnly())
        session_.dialogs.AskAndLatch(this, Q(QuoteKeptElsewhereNote(kept)), PromptIcon::None,
                                     PromptButtons::Ok);
}

void CostingSheetWindow::ExportToCsv() {
    // The lines as they stand, as the print-out shows them.
    sheet_->SaveSection();
    std::optional<CsvFileChoice> file =
        session_.dialogs.AskCsvSaveFile(this, "Export to CSV", Q(session_.CurrentJobName) + ".csv");
    if (!file) return;
    try {
        std::string csv = CostingCsv(ReadAllLines(session_.Paths.TempJob()),
                                     ReadSlots(session_.Paths.PriceListIndex()),
                                     ReadSlots(session_.Paths.GroupIndex()), file->form);
        ReplaceFile(file->path, csv, true);
    } catch (const DataFileError&) {
        session_.dialogs.Ask(this, Q("The file " + file->path + " could not be written."),
                             PromptIcon::Exclamation, PromptButtons::Ok);
    }
}

void CostingSheetWindow::SaveAs() {
    sheet_->SaveSection();
    SaveAsDialog dialog(this, session_);
    if (dialog.exec() != QDialog::Accepted) return;
    selector_.reset();  // its next use starts afresh, the new job listed
    sheet_->MarkSaved();
    jobName_->setText(Q(session_.CurrentJobName));
}

void CostingSheetWindow::DeleteJob() {
    PromptAnswer answer =
        session_.dialogs.Ask(this, kConfirmDelete, PromptIcon::Exclamation, PromptButtons::YesNo);
    if (answer != PromptAnswer::Yes) return;
    DeleteOpenJob(session_.CurrentJob());
    sheet_->MarkSaved();
    session_.Keys.Set();
    close();
}

void CostingSheetWindow::closeEvent(QCloseEvent* event) {
    if (closing_) return QMainWindow::closeEvent(event);
    sheet_->SetQuantText(sheet_->CurrentRow(), quant_[sheet_->CurrentRow()]->text().toStdString());
    if (sheet_->Changed() && !session_.ReadOnly()) {
        PromptAnswer answer = session_.dialogs.AskAndLatch(
            this, kCostingChanged, PromptIcon::Exclamation, PromptButtons::YesNoCancel);
        if (answer == PromptAnswer::Cancel) {
            event->ignore();
            FocusCurrentRow();
            return;
        }
        if (answer == PromptAnswer::Yes) Save(true);
    }
    closing_ = true;
    QMainWindow::closeEvent(event);
    emit closed();
}

bool CostingSheetWindow::eventFilter(QObject* watched, QEvent* event) {
    int row = RowOf(watched);
    if (row < 0) return QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn && watched == quant_[row]) {
        int focused = sheet_->Focus(row);
        if (focused != row) QTimer::singleShot(0, this, [this] { FocusCurrentRow(); });
        Hlt();
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == item_[row]) {
            // The first click on an item after the sheet opens only arms the next.
            if (!clickArmed_) {
                clickArmed_ = true;
                return true;
            }
            quant_[row]->setFocus();
            if (sheet_->CurrentRow() == row && !session_.ReadOnly()) AutoPick();
            return true;
        }
        if (watched == price_[row] || watched == subTot_[row]) {
            quant_[row]->setFocus();
            return true;
        }
    }
    return false;
}

}  // namespace quantora
