#include "ui/costing/quant_field.h"

#include <QCoreApplication>
#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace quantora {
namespace {

// What an idle box looks like apart from its text: a change of any of it makes the kept
// pictures stale.
struct Look {
    QSize size;
    QFont font;
    qint64 palette = 0;
    qreal ratio = 1;
    bool active = false;
    bool enabled = false;
    Qt::Alignment alignment;
    bool operator==(const Look&) const = default;
};

// Pictures of the texts shown lately; a few pages' worth, then they start again.
constexpr qsizetype kKeptPictures = 256;

struct Pictures {
    Look look;
    QHash<QString, QPixmap> byText;
};

Pictures& KeptPictures() {
    static Pictures kept;
    // Pictures must go while the application still stands.
    static const bool cleared = (qAddPostRoutine([] { kept.byText.clear(); }), true);
    Q_UNUSED(cleared);
    return kept;
}

}  // namespace

QPointer<QLineEdit> QuantField::twin_;

QuantField::QuantField(QWidget* parent) : QLineEdit(parent) {
    // The picture covers the whole box, so nothing under it needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QPixmap QuantField::IdlePicture() {
    Pictures& kept = KeptPictures();
    Look look{size(),           font(),      palette().cacheKey(), devicePixelRatioF(),
              isActiveWindow(), isEnabled(), alignment()};
    if (!(look == kept.look)) {
        kept.look = look;
        kept.byText.clear();
    }
    auto found = kept.byText.constFind(text());
    if (found != kept.byText.cend()) return *found;
    if (kept.byText.size() >= kKeptPictures) kept.byText.clear();
    // A box cannot paint itself again while it paints; its hidden twin can.
    if (!twin_ || twin_->parentWidget() != parentWidget()) {
        delete twin_;
        twin_ = new QLineEdit(parentWidget());
        twin_->hide();
    }
    twin_->setFont(font());
    twin_->setPalette(palette());
    twin_->setEnabled(isEnabled());
    twin_->setAlignment(alignment());
    twin_->resize(size());
    twin_->setText(text());
    QPixmap picture(size() * look.ratio);
    picture.setDevicePixelRatio(look.ratio);
    picture.fill(parentWidget()->palette().color(QPalette::Window));
    twin_->render(&picture, QPoint(), QRegion(), QWidget::RenderFlags());
    return *kept.byText.insert(text(), picture);
}

void QuantField::paintEvent(QPaintEvent* event) {
    // The box the sheet's keyboard goes to paints itself, even while another window has the
    // keyboard: its cursor and frame are its own.
    if (window()->focusWidget() == this || hasSelectedText()) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter(this).drawPixmap(0, 0, IdlePicture());
}

}  // namespace quantora
