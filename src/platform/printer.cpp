#include "platform/printer.h"

#include <cups/cups.h>

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cerrno>
#include <memory>
#include <vector>

namespace quantora {

namespace {

// Positions are twips on a painter window of 1,440 units to the inch, so the font is sized in
// the same units: a point is 20 twips.
QFont PrintFont(int points, bool bold) {
    QFont font(kPrintFontFamily);
    font.setPixelSize(points * 20);
    font.setBold(bold);
    // Each character takes its own advance, with no kerning or ligature between two: so a
    // text prints exactly as wide as its characters add up to, which is what lets a price list
    // of 100,000 names be measured without shaping each name again and again.
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// The advances of one print font, character by character, looked up once each.
class Advances {
  public:
    Advances(const QFont& font, QPrinter& printer)
        : metrics_(font, &printer), known_(0x10000, -1) {}
    int Width(const std::string& text) {
        qreal width = 0;
        for (QChar c : QString::fromStdString(text)) {
            qreal& advance = known_[c.unicode()];
            if (advance < 0) advance = metrics_.horizontalAdvance(c);
            width += advance;
        }
        return static_cast<int>(width + 0.5);
    }
    int LineHeight() const { return static_cast<int>(metrics_.height() + 0.5); }

  private:
    QFontMetricsF metrics_;
    std::vector<qreal> known_;
};

}  // namespace

PrintPage PreparePage(QPrinter& printer, int orientation) {
    printer.setFullPage(true);
    printer.setPageOrientation(orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    QRectF paper = printer.pageLayout().fullRect(QPageLayout::Point);
    return {static_cast<int>(paper.width() * 20 + 0.5),
            static_cast<int>(paper.height() * 20 + 0.5)};
}

PrintMeasure MeasureOn(QPrinter& printer, int points) {
    auto plain = std::make_shared<Advances>(PrintFont(points, false), printer);
    auto bold = std::make_shared<Advances>(PrintFont(points, true), printer);
    return {[plain, bold](const std::string& text, bool isBold) {
                return (isBold ? bold : plain)->Width(text);
            },
            plain->LineHeight()};
}

bool PaintRuns(QPrinter& printer, const std::vector<PrintRun>& runs, int points) {
    if (runs.empty()) return true;
    QRectF paper = printer.pageLayout().fullRect(QPageLayout::Point);
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    painter.setWindow(0, 0, static_cast<int>(paper.width() * 20 + 0.5),
                      static_cast<int>(paper.height() * 20 + 0.5));
    QFont fonts[2] = {PrintFont(points, false), PrintFont(points, true)};
    // The runs stand with the top of their line at y; text is drawn on its baseline.
    qreal ascent[2] = {QFontMetricsF(fonts[0], &printer).ascent(),
                       QFontMetricsF(fonts[1], &printer).ascent()};
    int page = 0;
    for (const PrintRun& run : runs) {
        while (page < run.page) {
            if (!printer.newPage()) return false;
            ++page;
        }
        painter.setFont(fonts[run.bold]);
        painter.drawText(QPointF(run.x, run.y + ascent[run.bold]),
                         QString::fromStdString(run.text));
    }
    return painter.end();
}

bool HasPrinter() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

std::optional<QString> KeepAsPrinterDefaults(const QPrinter& printer) {
    QByteArray name = printer.printerName().toUtf8();
    cups_dest_t* dests = nullptr;
    int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    cups_dest_t* dest =
        cupsGetDest(name.isEmpty() ? nullptr : name.constData(), nullptr, count, dests);
    if (dest == nullptr) {
        cupsFreeDests(count, dests);
        return QString("Cannot open the printer specified (make sure the printername is correct).");
    }
    QByteArray media = printer.pageLayout().pageSize().key().toUtf8();
    const char* orientation =
        printer.pageLayout().orientation() == QPageLayout::Landscape ? "4" : "3";
    dest->num_options =
        cupsAddOption("media", media.constData(), dest->num_options, &dest->options);
    dest->num_options =
        cupsAddOption("orientation-requested", orientation, dest->num_options, &dest->options);
    errno = 0;
    int saved = cupsSetDests2(CUPS_HTTP_DEFAULT, count, dests);
    int error = errno;
    cupsFreeDests(count, dests);
    if (saved != 0) {
        if (error == EACCES || error == EPERM || cupsLastError() == IPP_STATUS_ERROR_FORBIDDEN)
            return QString("Access denied.");
        return QString("Unable to set shared printer settings.");
    }
    return std::nullopt;
}

}  // namespace quantora
