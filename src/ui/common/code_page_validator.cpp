#include "ui/common/code_page_validator.h"

#include "store/code_page.h"

namespace quantora {

bool CodePageValidator::Fits(const QString& text) { return FitsCp1252(text.toStdString()); }

QValidator::State CodePageValidator::validate(QString& input, int&) const {
    return Fits(input) ? Acceptable : Invalid;
}

}  // namespace quantora
