// Every message box of the program goes through a Prompter, so that tests can answer them
// and read their exact texts. Line breaks in texts are "\n".
#pragma once

#include <QString>

class QWidget;

namespace quantora {

enum class PromptIcon { None, Exclamation };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

class Prompter {
  public:
    virtual ~Prompter() = default;
    virtual PromptAnswer Ask(QWidget* parent, const QString& text, PromptIcon icon,
                             PromptButtons buttons) = 0;
};

// Real message boxes, captioned with the program title.
class MessageBoxPrompter : public Prompter {
  public:
    PromptAnswer Ask(QWidget* parent, const QString& text, PromptIcon icon,
                     PromptButtons buttons) override;
};

}  // namespace quantora
