#include "platform/printer.h"

#include <cups/cups.h>

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cerrno>
#include <memory>
#include <string_view>
#include <vector>

#include "store/paper_name.h"

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

namespace {

// The system's printers with the user's own defaults over the queues', freed as it goes.
class Destinations {
  public:
    Destinations() : count_(cupsGetDests2(CUPS_HTTP_DEFAULT, &dests_)) {}
    ~Destinations() { cupsFreeDests(count_, dests_); }
    Destinations(const Destinations&) = delete;
    Destinations& operator=(const Destinations&) = delete;

    // The printer of that name, or the default printer for an empty name.
    cups_dest_t* Find(const QString& name) const {
        QByteArray bytes = name.toUtf8();
        return cupsGetDest(name.isEmpty() ? nullptr : bytes.constData(), nullptr, count_, dests_);
    }
    int Save() const { return cupsSetDests2(CUPS_HTTP_DEFAULT, count_, dests_); }

  private:
    cups_dest_t* dests_ = nullptr;
    int count_;
};

std::optional<QPageSize> PaperNamed(const char* media) {
    if (media == nullptr) return std::nullopt;
    std::optional<PaperSize> size = PaperOfMediaName(media);
    if (!size) return std::nullopt;
    // The standard paper of that size when there is one, so the job names it as drivers do.
    return QPageSize(QSizeF(size->width, size->height), QPageSize::Point, QString(),
                     QPageSize::FuzzyMatch);
}

}  // namespace

std::optional<PrinterDefaults> CurrentPrinterDefaults() {
    Destinations destinations;
    cups_dest_t* dest = destinations.Find(QString());
    if (dest == nullptr) return std::nullopt;
    PrinterDefaults defaults;
    defaults.printer = QString::fromUtf8(dest->name);
    std::optional<QPageSize> paper =
        PaperNamed(cupsGetOption("media", dest->num_options, dest->options));
    // Without a default of the user's, the queue's own (a driver's, or the printer's).
    if (!paper) {
        QPageSize queue = QPrinterInfo::printerInfo(defaults.printer).defaultPageSize();
        if (queue.isValid()) paper = queue;
    }
    defaults.paper = paper.value_or(QPageSize(QPageSize::A4));
    const char* orientation =
        cupsGetOption("orientation-requested", dest->num_options, dest->options);
    if (orientation != nullptr && std::string_view(orientation) == "4")
        defaults.orientation = QPageLayout::Landscape;
    return defaults;
}

QList<QPageSize> PapersOf(const PrinterDefaults& defaults) {
    QList<QPageSize> papers = QPrinterInfo::printerInfo(defaults.printer).supportedPageSizes();
    // A queue without a driver (a raw queue, a printer shared without its description) names
    // no papers; it is offered the ones a small business prints on, which it is sent as they
    // are.
    if (papers.isEmpty())
        for (QPageSize::PageSizeId id :
             {QPageSize::A4, QPageSize::A5, QPageSize::Letter, QPageSize::Legal})
            papers.append(QPageSize(id));
    bool listed = std::any_of(papers.begin(), papers.end(), [&](const QPageSize& paper) {
        return paper.isEquivalentTo(defaults.paper);
    });
    if (!listed) papers.prepend(defaults.paper);
    return papers;
}

std::optional<QString> KeepAsPrinterDefaults(const PrinterDefaults& defaults) {
    Destinations destinations;
    cups_dest_t* dest = destinations.Find(defaults.printer);
    if (dest == nullptr)
        return QString("Cannot open the printer specified (make sure the printername is correct).");
    QByteArray media = defaults.paper.key().toUtf8();
    const char* orientation = defaults.orientation == QPageLayout::Landscape ? "4" : "3";
    dest->num_options =
        cupsAddOption("media", media.constData(), dest->num_options, &dest->options);
    dest->num_options =
        cupsAddOption("orientation-requested", orientation, dest->num_options, &dest->options);
    errno = 0;
    int saved = destinations.Save();
    int error = errno;
    if (saved != 0) {
        if (error == EACCES || error == EPERM || cupsLastError() == IPP_STATUS_ERROR_FORBIDDEN)
            return QString("Access denied.");
        return QString("Unable to set shared printer settings.");
    }
    return std::nullopt;
}

std::optional<QString> UseDefaultPaper(QPrinter& printer) {
    std::optional<PrinterDefaults> defaults = CurrentPrinterDefaults();
    if (!defaults) return std::nullopt;
    if (printer.outputFormat() == QPrinter::NativeFormat) {
        // Asking for the printer by name also tells whether it is still there.
        QByteArray name = printer.printerName().toUtf8();
        cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
        if (dest == nullptr)
            return "Nothing was printed. The printer " + printer.printerName() +
                   " cannot be found: " + QString::fromUtf8(cupsLastErrorString());
        cupsFreeDests(1, dest);
    }
    printer.setPageSize(defaults->paper);
    return std::nullopt;
}

std::optional<QString> PrintRefusal(const QPrinter& printer) {
    // The print-out went to the queue in the call that ended the painting, which left its
    // answer here.
    if (cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE) return std::nullopt;
    return "Nothing was printed. The printer " + printer.printerName() +
           " did not take the print-out: " + QString::fromUtf8(cupsLastErrorString());
}

}  // namespace quantora
