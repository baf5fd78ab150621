#include "ui/common/window_scaling.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFrame>
#include <QWidget>

namespace quantora {

QString UiFontFamily() {
    static const QString family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    return family;
}

void ScaleForm(QWidget* window, bool isManagementWindow) {
    auto normalise = [](QWidget* widget) {
        QFont font = widget->font();
        font.setFamily(UiFontFamily());
        font.setItalic(false);
        widget->setFont(font);
    };
    if (!isManagementWindow) normalise(window);
    for (QWidget* child : window->findChildren<QWidget*>()) normalise(child);

    // At a scale such as 1.5 the style's one-pixel frame lines fall between device pixels
    // and their top and right edges vanish. Lines drawn as style sheet borders are filled
    // rectangles, which scale whole.
    for (QFrame* frame : window->findChildren<QFrame*>()) {
        if (frame->frameShape() == QFrame::NoFrame || frame->frameShape() == QFrame::HLine ||
            frame->frameShape() == QFrame::VLine)
            continue;
        // Set on the framed control alone and matched by a mark only it carries, so its
        // children keep the plain style and a window without frames pays nothing for it.
        frame->setProperty("framed", true);
        frame->setStyleSheet("*[framed=\"true\"] { border: 1px solid palette(mid); }");
    }
}

}  // namespace quantora
