#include "ui/common/window_scaling.h"

#include <QApplication>
#include <QFontDatabase>
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
}

}  // namespace quantora
