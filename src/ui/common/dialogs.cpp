#include "ui/common/dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPaintEngine>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>

#include "platform/shell.h"
#include "services/clock_text.h"
#include "store/own_settings.h"
#include "ui/common/printer_setup_dialog.h"
#include "ui/costing/quote_dialog.h"
#include "ui/datafolder/wipe_data_dialog.h"
#include "ui/management/name_dialog.h"
#include "ui/pricelists/import_preview_dialog.h"
#include "ui/pricelists/print_options_dialog.h"
#include "ui/session.h"

namespace quantora {

PromptAnswer Dialogs::AskAndLatch(QWidget* parent, const QString& text, PromptIcon icon,
                                  PromptButtons buttons) {
    PromptAnswer answer = Ask(parent, text, icon, buttons);
    keys_.Set();
    return answer;
}

PromptAnswer DesktopDialogs::Ask(QWidget* parent, const QString& text, PromptIcon icon,
                                 PromptButtons buttons) {
    QMessageBox box(icon == PromptIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    kProgramTitle, text, QMessageBox::NoButton, parent);
    QAbstractButton* tryAgain = nullptr;
    QAbstractButton* readOnly = nullptr;
    switch (buttons) {
        case PromptButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case PromptButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case PromptButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case PromptButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case PromptButtons::TryAgainQuit:
        case PromptButtons::TryAgainCancel:
        case PromptButtons::TryAgainReadOnlyQuit:
            tryAgain = box.addButton("&Try Again", QMessageBox::AcceptRole);
            if (buttons == PromptButtons::TryAgainReadOnlyQuit) {
                readOnly = box.addButton("Open &Read-Only", QMessageBox::AcceptRole);
                readOnly->setObjectName("OpenReadOnly");
            }
            box.setEscapeButton(
                box.addButton(buttons == PromptButtons::TryAgainCancel ? "Cancel" : "&Quit",
                              QMessageBox::RejectRole));
            box.setDefaultButton(static_cast<QPushButton*>(tryAgain));
            break;
    }
    int chosen = box.exec();
    if (readOnly != nullptr && box.clickedButton() == readOnly) return PromptAnswer::ReadOnly;
    if (tryAgain != nullptr)
        return box.clickedButton() == tryAgain ? PromptAnswer::TryAgain : PromptAnswer::Cancel;
    switch (chosen) {
        case QMessageBox::Ok:
            return PromptAnswer::Ok;
        case QMessageBox::Yes:
            return PromptAnswer::Yes;
        case QMessageBox::No:
            return PromptAnswer::No;
        default:
            return buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Cancel;
    }
}

std::optional<QString> DesktopDialogs::AskName(QWidget* parent, const QString& offered,
                                               QPoint topLeft) {
    NameDialog dialog(parent, keys_, sounds_, offered);
    dialog.move(topLeft);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Name();
}

std::optional<std::string> DesktopDialogs::BrowseFolder(QWidget* parent, const QString& title,
                                                        const std::string& start) {
    return BrowseForFolder(parent, title, start);
}

bool DesktopDialogs::ConfirmWipe(QWidget* parent, const QString& headline, const QString& detail) {
    WipeDataDialog dialog(parent, sounds_, headline, detail);
    return dialog.exec() == QDialog::Accepted;
}

PrintChoice DesktopDialogs::AskPrintOptions(QWidget* parent, Session& session) {
    PrintOptionsDialog dialog(parent, session);
    dialog.exec();
    return dialog.Choice();
}

QString DesktopDialogs::FileFolder() const {
    return QString::fromStdString(
        FileDialogFolder(ReadOwnSettings(ownSettingsFile_), QDir::homePath().toStdString()));
}

void DesktopDialogs::Remember(const QString& chosenFile) const {
    RememberFileFolder(ownSettingsFile_, chosenFile.toStdString());
}

std::optional<std::string> DesktopDialogs::AskPdfFile(QWidget* parent, const QString& suggested) {
    QString file = QFileDialog::getSaveFileName(
        parent, "Save as PDF", QDir(FileFolder()).filePath(suggested), "PDF (*.pdf)");
    if (file.isEmpty()) return std::nullopt;
    Remember(file);
    if (!file.endsWith(".pdf", Qt::CaseInsensitive)) file += ".pdf";
    return file.toStdString();
}

bool DesktopDialogs::ShowPreview(QWidget* parent, QPrinter& printer,
                                 const std::function<void(QPrinter*)>& paint) {
    QPrintPreviewDialog preview(&printer, parent);
    bool printed = false;
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&](QPrinter* target) {
                         // The preview draws its pages as pictures; its Print button paints
                         // them on the printer's own engine.
                         printed = printed || target->paintEngine() == nullptr ||
                                   target->paintEngine()->type() != QPaintEngine::Picture;
                         paint(target);
                     });
    preview.exec();
    return printed;
}

bool DesktopDialogs::EditPrinterSettings(QWidget* parent, Session& session,
                                         PrinterDefaults& defaults) {
    PrinterSetupDialog dialog(parent, session, defaults);
    if (dialog.exec() != QDialog::Accepted) return false;
    defaults = dialog.Chosen();
    return true;
}

std::optional<QuoteTerms> DesktopDialogs::AskQuoteTerms(QWidget* parent,
                                                        const QuoteTerms& offered) {
    QuoteDialog dialog(parent, offered);
    bool accepted = dialog.exec() == QDialog::Accepted;
    keys_.Set();
    if (!accepted) return std::nullopt;
    return dialog.Terms();
}

std::optional<std::string> DesktopDialogs::AskImportFile(QWidget* parent) {
    QString file = QFileDialog::getOpenFileName(parent, "Import Items", FileFolder(),
                                                "CSV and text files (*.csv *.txt *.tsv *.tab);;"
                                                "All files (*)");
    if (file.isEmpty()) return std::nullopt;
    Remember(file);
    return file.toStdString();
}

std::optional<CsvFileChoice> DesktopDialogs::AskCsvSaveFile(QWidget* parent, const QString& title,
                                                            const QString& suggested) {
    const QString commaPoint = "CSV, comma and decimal point (*.csv)";
    const QString semicolonComma = "CSV, semicolon and decimal comma (*.csv)";
    QString chosen = commaPoint;
    QString file =
        QFileDialog::getSaveFileName(parent, title, QDir(FileFolder()).filePath(suggested),
                                     commaPoint + ";;" + semicolonComma, &chosen);
    if (file.isEmpty()) return std::nullopt;
    Remember(file);
    if (!file.endsWith(".csv", Qt::CaseInsensitive)) file += ".csv";
    return CsvFileChoice{file.toStdString(),
                         chosen == semicolonComma ? CsvForm::SemicolonComma : CsvForm::CommaPoint};
}

bool DesktopDialogs::ReviewImport(QWidget* parent, ImportReview& review) {
    ImportPreviewDialog dialog(parent, *this, review);
    return dialog.exec() == QDialog::Accepted;
}

void DesktopDialogs::ShowFatal(const QString& text) {
    QMessageBox::warning(nullptr, kProgramTitle, text);
}

}  // namespace quantora
