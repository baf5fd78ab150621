#include "ui/costing/price_changes_box.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "costing/price_changes_print.h"
#include "platform/sounds.h"
#include "services/clock_text.h"
#include "store/data_file.h"
#include "ui/common/dialogs.h"
#include "ui/common/print_out.h"
#include "ui/session.h"

namespace quantora {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString Signed(Amount change) {
    QString text = Q(AmountText(change));
    return change.raw > 0 ? "+" + text : text;
}

}  // namespace

PriceChangesBox::PriceChangesBox(QWidget* parent, Session& session, const ReloadResult& opened,
                                 bool unsaved, const std::string& jobName,
                                 const std::optional<QuoteRecord>& quoted)
    : QDialog(parent),
      session_(session),
      opened_(opened),
      unsaved_(unsaved),
      jobName_(jobName),
      quoted_(quoted) {
    setObjectName("PriceChanges");
    setWindowTitle("Price Changes");
    where_ = new QLabel(this);
    where_->setObjectName("ChangesOf");
    totals_ = new QLabel(this);
    totals_->setObjectName("ChangesTotal");
    list_ = new QTreeWidget(this);
    list_->setObjectName("ChangedLines");
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels(
        {"Item or job", "Quantity", "Old price", "New price", "Change", "Sub total change", "Why"});
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    note_ = new QLabel("Enter on a job shows what changed inside it; Backspace goes back.", this);
    auto* print = new QPushButton("&Print...", this);
    print->setObjectName("ChangesPrint");
    print->setAutoDefault(false);
    auto* exportCsv = new QPushButton("&Export to CSV...", this);
    exportCsv->setObjectName("ChangesExport");
    exportCsv->setAutoDefault(false);
    auto* close = new QPushButton("Close", this);
    close->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(print);
    buttons->addWidget(exportCsv);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    if (quoted) {
        auto* sinceQuote = new QCheckBox(
            "Compare with the &quote" +
                (quoted->customer.empty() ? QString() : " to " + Q(quoted->customer)) + " of " +
                Q(LongDateText(ClockAt(quoted->time))),
            this);
        sinceQuote->setObjectName("ChangesSinceQuote");
        connect(sinceQuote, &QCheckBox::toggled, this, [this](bool on) { ShowFromTop(on); });
        layout->addWidget(sinceQuote);
    }
    layout->addWidget(where_);
    layout->addWidget(totals_);
    layout->addWidget(list_);
    layout->addWidget(note_);
    layout->addLayout(buttons);
    resize(860, 400);
    connect(list_, &QTreeWidget::itemActivated, this, [this] { OpenRow(); });
    connect(print, &QPushButton::clicked, this, [this] { Print(); });
    connect(exportCsv, &QPushButton::clicked, this, [this] { ExportCsv(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    ShowFromTop(false);
}

void PriceChangesBox::ShowFromTop(bool sinceQuote) {
    levels_.clear();
    if (sinceQuote && quoted_) {
        SinceQuote since = ChangesSinceQuote(*quoted_, opened_.lines);
        levels_.push_back({jobName_, ChangedLines(opened_.lines, since.changes), since.quotedTotal,
                           opened_.total});
    } else if (unsaved_) {
        levels_.push_back({jobName_, ChangedLines(opened_.lines, opened_.changes),
                           opened_.savedTotal, opened_.total});
    } else {
        levels_.push_back({jobName_, {}, opened_.total, opened_.total});
    }
    Show(levels_.back());
}

void PriceChangesBox::Show(const Level& level) {
    QStringList path;
    for (const Level& shown : levels_) path << Q(shown.job);
    where_->setText("Changes in " + path.join(" > "));
    totals_->setText(level.savedTotal ? "Total " + Q(MoneyText(*level.savedTotal)) + " \u2192 " +
                                            Q(MoneyText(level.total))
                                      : "Total now " + Q(MoneyText(level.total)));
    list_->clear();
    std::vector<std::string> reasons = Reasons(level);
    for (std::size_t k = 0; k < level.lines.size(); ++k) {
        const ChangedLine& line = level.lines[k];
        auto* row = new QTreeWidgetItem(
            {Q(line.now.Item) + (line.now.IsJob() ? " (job)" : ""), Q(QuantityText(line.now.Quant)),
             Q(AmountText(line.oldPrice)), Q(AmountText(line.now.Price)),
             Signed(line.PriceChange()), Signed(line.SubTotChange()), Q(reasons[k])});
        for (int column = 1; column < 6; ++column) row->setTextAlignment(column, Qt::AlignRight);
        list_->addTopLevelItem(row);
    }
    if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
    list_->setFocus();
}

void PriceChangesBox::OpenRow() {
    int row = list_->indexOfTopLevelItem(list_->currentItem());
    const Level& level = levels_.back();
    if (row < 0 || row >= static_cast<int>(level.lines.size())) return;
    const JobLine& line = level.lines[static_cast<std::size_t>(row)].now;
    const JobPriceChanges* inside = IncludedChanges(opened_, session_.Paths, line);
    if (inside == nullptr) {
        session_.sounds.PlayAsterisk();
        return;
    }
    levels_.push_back({line.Item, ChangedLines(inside->lines, inside->changes), inside->savedTotal,
                       inside->total});
    Show(levels_.back());
}

void PriceChangesBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace && levels_.size() > 1) {
        levels_.pop_back();
        Show(levels_.back());
        return;
    }
    QDialog::keyPressEvent(event);
}

std::vector<std::string> PriceChangesBox::Reasons(const Level& level) const {
    PriceReasons reasons(session_.Paths);
    std::vector<std::string> why;
    for (const ChangedLine& line : level.lines) why.push_back(reasons.Why(line.now));
    return why;
}

std::string PriceChangesBox::Title() const {
    std::string title = "Price Changes - ";
    for (std::size_t k = 0; k < levels_.size(); ++k) title += (k > 0 ? " > " : "") + levels_[k].job;
    return title;
}

void PriceChangesBox::Print() {
    const Level& level = levels_.back();
    PriceChangesPrint changes{Title(), level.lines, Reasons(level), level.savedTotal, level.total};
    PrintOut(this, session_, Q(changes.title), [&](PrintPage page, const PrintMeasure& measure) {
        return LayOutPriceChanges(changes, session_.Settings(), page, measure);
    });
}

void PriceChangesBox::ExportCsv() {
    const Level& level = levels_.back();
    std::optional<CsvFileChoice> file = session_.dialogs.AskCsvSaveFile(
        this, "Export Price Changes", Q(level.job) + " price changes.csv");
    if (!file) return;
    try {
        ReplaceFile(file->path,
                    PriceChangesCsv(level.lines, level.savedTotal, level.total, file->form), true);
    } catch (const DataFileError&) {
        session_.dialogs.Ask(this, Q("The file " + file->path + " could not be written."),
                             PromptIcon::Exclamation, PromptButtons::Ok);
    }
}

}  // namespace quantora
