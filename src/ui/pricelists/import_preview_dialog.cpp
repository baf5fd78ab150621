#include "ui/pricelists/import_preview_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "store/data_file.h"
#include "ui/common/dialogs.h"

namespace quantora {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Long lists are shown in part; the rest is counted (and the refused lines can be saved whole).
constexpr int kShownRows = 500;
constexpr int kFirstLines = 20;

QTableWidget* NewTable(QWidget* parent, const char* name, const QStringList& headers) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

// Fills the table's rows, kShownRows at most, then a row saying how many more there are.
void Fill(QTableWidget* table, std::size_t count,
          const std::function<QStringList(std::size_t)>& row) {
    std::size_t shown = std::min<std::size_t>(count, kShownRows);
    table->setRowCount(static_cast<int>(shown + (count > shown ? 1 : 0)));
    for (std::size_t r = 0; r < shown; ++r) {
        QStringList cells = row(r);
        for (int c = 0; c < cells.size(); ++c)
            table->setItem(static_cast<int>(r), c, new QTableWidgetItem(cells[c]));
    }
    if (count > shown)
        table->setItem(static_cast<int>(shown), 0,
                       new QTableWidgetItem(QString("... and %1 more").arg(count - shown)));
    table->resizeColumnsToContents();
}

QComboBox* NewChoice(QWidget* parent, const char* name, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    return box;
}

}  // namespace

ImportPreviewDialog::ImportPreviewDialog(QWidget* parent, Dialogs& dialogs, ImportReview& review)
    : QDialog(parent), dialogs_(dialogs), review_(review) {
    setWindowTitle("Import Items");
    setObjectName("ImportPreview");
    const ImportChoices& choices = review.choices;

    auto* reading = new QGroupBox("The file", this);
    auto* form = new QGridLayout(reading);
    encoding_ = NewChoice(reading, "Encoding", {"UTF-8", "Windows-1252"});
    encoding_->setCurrentIndex(choices.encoding == TextEncoding::Utf8 ? 0 : 1);
    delimiter_ = NewChoice(reading, "Delimiter", {"Comma", "Semicolon", "Tab"});
    delimiter_->setCurrentIndex(choices.delimiter == ',' ? 0 : choices.delimiter == ';' ? 1 : 2);
    decimalMark_ = NewChoice(reading, "DecimalMark", {"Point (1,234.56)", "Comma (1.234,56)"});
    decimalMark_->setPlaceholderText("Choose the decimal mark");
    decimalMark_->setCurrentIndex(!choices.decimalMark                         ? -1
                                  : *choices.decimalMark == DecimalMark::Point ? 0
                                                                               : 1);
    markQuestion_ = new QLabel(
        "The prices read as amounts with either decimal mark (as \"1,234\" does). Which one "
        "does the file use?",
        reading);
    markQuestion_->setObjectName("MarkQuestion");
    markQuestion_->setWordWrap(true);
    headerRow_ = new QCheckBox("The first line names the columns", reading);
    headerRow_->setObjectName("HeaderRow");
    headerRow_->setChecked(choices.headerRow);
    nameColumn_ = new QComboBox(reading);
    nameColumn_->setObjectName("NameColumn");
    priceColumn_ = new QComboBox(reading);
    priceColumn_->setObjectName("PriceColumn");
    form->addWidget(new QLabel("Encoding:", reading), 0, 0);
    form->addWidget(encoding_, 0, 1);
    form->addWidget(new QLabel("Delimiter:", reading), 0, 2);
    form->addWidget(delimiter_, 0, 3);
    form->addWidget(new QLabel("Decimal mark:", reading), 0, 4);
    form->addWidget(decimalMark_, 0, 5);
    form->addWidget(new QLabel("Item names:", reading), 1, 0);
    form->addWidget(nameColumn_, 1, 1);
    form->addWidget(new QLabel("Prices:", reading), 1, 2);
    form->addWidget(priceColumn_, 1, 3);
    form->addWidget(headerRow_, 1, 4, 1, 2);
    form->addWidget(markQuestion_, 2, 0, 1, 6);

    auto* names = new QGroupBox("Names", this);
    auto* nameLayout = new QGridLayout(names);
    mend_ =
        new QCheckBox("Mend names that hold / \\ < > ? * : or |, instead of refusing them", names);
    mend_->setObjectName("Mend");
    mend_->setChecked(choices.mend);
    mendCount_ = new QLabel(names);
    mendCount_->setObjectName("MendCount");
    nameLayout->addWidget(mend_, 0, 0, 1, 2);
    nameLayout->addWidget(mendCount_, 0, 2);
    const MendingRule& rule = choices.rule;
    int row = 1;
    for (auto [caption, on, name] :
         {std::tuple{"1/2, 1/4 and 3/4 become \u00BD, \u00BC and \u00BE", rule.fractions,
                     "MendFractions"},
          std::tuple{"any other / or \\ becomes -", rule.slashes, "MendSlashes"},
          std::tuple{"* between digits becomes x", rule.starsBetweenDigits, "MendStars"},
          std::tuple{": becomes -", rule.colons, "MendColons"},
          std::tuple{"< > ? | and any other * are dropped", rule.dropOthers, "MendOthers"}}) {
        auto* part = new QCheckBox(QString::fromUtf8(caption), names);
        part->setObjectName(name);
        part->setChecked(on);
        ruleParts_.push_back(part);
        nameLayout->addWidget(part, row / 2 + 1, row % 2 == 1 ? 0 : 1);
        ++row;
    }
    auto* blanks = new QLabel("Runs of blanks become one, and blanks at both ends go.", names);
    nameLayout->addWidget(blanks, row / 2 + 1, row % 2 == 1 ? 0 : 1);
    longNames_ = NewChoice(
        names, "LongNames",
        {"Refuse names longer than 70 characters", "Cut names longer than 70 characters to 70"});
    longNames_->setCurrentIndex(choices.longNames == LongNames::Skip ? 0 : 1);
    missingItems_ = NewChoice(names, "MissingItems",
                              {"Keep the list's items that are not in the file",
                               "Delete the list's items that are not in the file"});
    missingItems_->setCurrentIndex(choices.deleteMissing ? 1 : 0);
    nameLayout->addWidget(longNames_, 5, 0);
    nameLayout->addWidget(missingItems_, 5, 1, 1, 2);

    counts_ = new QLabel(this);
    counts_->setObjectName("Counts");
    QFont bold = counts_->font();
    bold.setBold(true);
    counts_->setFont(bold);

    auto* tabs = new QTabWidget(this);
    firstLines_ =
        NewTable(tabs, "FirstLines", {"Line", "Name in the file", "Stored as", "Price", "Change"});
    changes_ = NewTable(tabs, "Changes", {"Line", "Item", "Old price", "New price"});
    refused_ = NewTable(tabs, "Refused", {"Line", "Reason", "The line"});
    notes_ = NewTable(tabs, "Notes", {"Note"});
    tabs->addTab(firstLines_, "First lines");
    tabs->addTab(changes_, "Changed prices");
    tabs->addTab(refused_, "Refused lines");
    tabs->addTab(notes_, "Mended and deleted");

    auto* buttons = new QDialogButtonBox(this);
    import_ = buttons->addButton("Import", QDialogButtonBox::AcceptRole);
    import_->setObjectName("ImportButton");
    import_->setDefault(true);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName("CancelButton");
    saveRefused_ = buttons->addButton("Save Refused Lines...", QDialogButtonBox::ActionRole);
    saveRefused_->setObjectName("SaveRefused");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(saveRefused_, &QPushButton::clicked, this, [this] { SaveRefusedLines(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(reading);
    layout->addWidget(names);
    layout->addWidget(counts_);
    layout->addWidget(tabs, 1);
    layout->addWidget(buttons);
    resize(900, 640);

    FillColumnChoices();
    for (QComboBox* box : {encoding_, delimiter_})
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            ReadChoices();
            FillColumnChoices();
            Replan();
        });
    for (QComboBox* box : {decimalMark_, nameColumn_, priceColumn_, longNames_, missingItems_})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { Replan(); });
    connect(headerRow_, &QCheckBox::toggled, this, [this] {
        ReadChoices();
        FillColumnChoices();
        Replan();
    });
    for (QCheckBox* box : ruleParts_) connect(box, &QCheckBox::toggled, this, [this] { Replan(); });
    connect(mend_, &QCheckBox::toggled, this, [this](bool on) {
        for (QCheckBox* part : ruleParts_) part->setEnabled(on);
        Replan();
    });
    Replan();
}

// Each column by its number and what its first line holds, so the user can tell them apart.
void ImportPreviewDialog::FillColumnChoices() {
    const ImportChoices& choices = review_.choices;
    const std::vector<CsvRecord>& records =
        review_.file.Records(choices.encoding, choices.delimiter);
    std::size_t columns =
        std::max<std::size_t>(review_.file.ColumnCount(choices.encoding, choices.delimiter), 1);
    for (auto [box, chosen] : {std::pair{nameColumn_, choices.nameColumn},
                               std::pair{priceColumn_, choices.priceColumn}}) {
        const QSignalBlocker quiet(box);
        box->clear();
        for (std::size_t c = 0; c < columns; ++c) {
            QString sample = !records.empty() && c < records.front().fields.size()
                                 ? Q(records.front().fields[c]).left(30)
                                 : QString();
            box->addItem(QString("Column %1: %2").arg(c + 1).arg(sample));
        }
        box->setCurrentIndex(static_cast<int>(std::min(chosen, columns - 1)));
    }
}

void ImportPreviewDialog::ReadChoices() {
    ImportChoices& choices = review_.choices;
    choices.encoding =
        encoding_->currentIndex() == 0 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
    choices.delimiter = delimiter_->currentIndex() == 0   ? ','
                        : delimiter_->currentIndex() == 1 ? ';'
                                                          : '\t';
    if (decimalMark_->currentIndex() >= 0)
        choices.decimalMark =
            decimalMark_->currentIndex() == 0 ? DecimalMark::Point : DecimalMark::Comma;
    choices.headerRow = headerRow_->isChecked();
    choices.nameColumn = static_cast<std::size_t>(std::max(nameColumn_->currentIndex(), 0));
    choices.priceColumn = static_cast<std::size_t>(std::max(priceColumn_->currentIndex(), 0));
    choices.mend = mend_->isChecked();
    choices.rule = {ruleParts_[0]->isChecked(), ruleParts_[1]->isChecked(),
                    ruleParts_[2]->isChecked(), ruleParts_[3]->isChecked(),
                    ruleParts_[4]->isChecked()};
    choices.longNames = longNames_->currentIndex() == 0 ? LongNames::Skip : LongNames::Cut;
    choices.deleteMissing = missingItems_->currentIndex() == 1;
}

void ImportPreviewDialog::Replan() {
    ReadChoices();
    review_.plan = PlanImport(review_.file, review_.choices, review_.list);
    ShowPlan();
}

void ImportPreviewDialog::ShowPlan() {
    const ImportPlan& plan = review_.plan;
    markQuestion_->setVisible(plan.decimalMarkUnsettled);
    import_->setEnabled(!plan.decimalMarkUnsettled);
    counts_->setText(plan.decimalMarkUnsettled
                         ? "Choose the decimal mark to see what the import does."
                         : Q(PlanCounts(plan)));
    mendCount_->setText(plan.needMending == 0
                            ? "No name needs mending."
                            : QString("%1 %2 names that need mending.")
                                  .arg(plan.needMending)
                                  .arg(plan.needMending == 1 ? "line holds" : "lines hold"));

    Fill(firstLines_, std::min<std::size_t>(plan.lines.size(), kFirstLines), [&](std::size_t r) {
        const ImportLine& line = plan.lines[r];
        return QStringList{QString::number(line.line), Q(line.nameInFile), Q(line.name),
                           Q(AmountText(line.price)), Q(LineChangeText(line))};
    });
    std::vector<const ImportLine*> changed;
    for (const ImportLine& line : plan.lines)
        if (line.change == LineChange::Changed) changed.push_back(&line);
    Fill(changes_, changed.size(), [&](std::size_t r) {
        const ImportLine& line = *changed[r];
        return QStringList{QString::number(line.line), Q(line.name), Q(AmountText(line.oldPrice)),
                           Q(AmountText(line.price))};
    });
    Fill(refused_, plan.refused.size(), [&](std::size_t r) {
        const RefusedLine& line = plan.refused[r];
        QStringList fields;
        for (const std::string& field : line.fields) fields << Q(field);
        return QStringList{QString::number(line.line), Q(line.reason), fields.join(" | ")};
    });
    saveRefused_->setEnabled(!plan.refused.empty());
    std::vector<std::string> notes = MendedAndDeleted(plan);
    Fill(notes_, notes.size(), [&](std::size_t r) { return QStringList{Q(notes[r])}; });
}

void ImportPreviewDialog::SaveRefusedLines() {
    std::optional<CsvFileChoice> file =
        dialogs_.AskCsvSaveFile(this, "Save Refused Lines", "Refused lines.csv");
    if (!file) return;
    try {
        ReplaceFile(file->path, RefusedLinesCsv(review_.plan, DelimiterOf(file->form)), true);
    } catch (const DataFileError&) {
        dialogs_.Ask(this, Q("The file " + file->path + " could not be written."),
                     PromptIcon::Exclamation, PromptButtons::Ok);
    }
}

}  // namespace quantora
