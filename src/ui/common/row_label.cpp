#include "ui/common/row_label.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHash>
#include <QPainter>
#include <QStaticText>
#include <algorithm>

namespace quantora {
namespace {

// A few pages' worth of layouts is kept for each font; past that the font's layouts start
// again, which costs one layout of each text in sight.
constexpr qsizetype kKeptLayouts = 2048;

using Layouts = QHash<QString, QStaticText>;

QHash<QString, Layouts>& KeptLayouts() {
    static QHash<QString, Layouts> byFont;
    return byFont;
}

Layouts& LayoutsFor(const QFont& font) {
    // The layouts hold on to fonts, which must go while the application still stands.
    static const bool cleared = (qAddPostRoutine([] { KeptLayouts().clear(); }), true);
    Q_UNUSED(cleared);
    return KeptLayouts()[font.key()];
}

const QStaticText& LaidOut(Layouts& layouts, const QString& text, const QFont& font) {
    auto found = layouts.constFind(text);
    if (found != layouts.cend()) return *found;
    if (layouts.size() >= kKeptLayouts) layouts.clear();
    QStaticText laidOut(text);
    laidOut.setTextFormat(Qt::PlainText);
    laidOut.setPerformanceHint(QStaticText::AggressiveCaching);
    laidOut.prepare(QTransform(), font);
    return *layouts.insert(text, laidOut);
}

}  // namespace

RowLabel::RowLabel(QWidget* parent, const QRect& place)
    : QLabel(parent), layouts_(&LayoutsFor(font())) {
    setTextFormat(Qt::PlainText);
    setGeometry(place);
    setFixedSize(place.size());
}

void RowLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) layouts_ = &LayoutsFor(font());
    QLabel::changeEvent(event);
}

void RowLabel::paintEvent(QPaintEvent*) {
    if (text().isEmpty()) return;
    const QStaticText& laidOut = LaidOut(*layouts_, text(), font());
    int margin = std::max(indent(), 0);
    QRect room = contentsRect().adjusted(margin, 0, -margin, 0);
    QSize size = laidOut.size().toSize();
    // Whole pixels, so each glyph is drawn from the one image kept for it.
    int x = alignment() & Qt::AlignRight ? room.right() + 1 - size.width() : room.left();
    int y = room.top() + (room.height() - size.height()) / 2;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawStaticText(x, y, laidOut);
}

}  // namespace quantora
