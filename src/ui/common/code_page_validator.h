// Keeps a text field to characters the data files can hold (Windows-1252): typing or
// pasting anything else is refused.
#pragma once

#include <QValidator>

namespace quantora {

class CodePageValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
    static bool Fits(const QString& text);
};

}  // namespace quantora
