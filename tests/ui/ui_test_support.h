// What the window tests share: a fresh default folder with its first-run data, a prompter
// and sounds that record instead of showing and playing, and a script that answers the
// name dialogs.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <memory>

#include "platform/sounds.h"
#include "store/data_folder.h"
#include "store/settings.h"
#include "test_files.h"
#include "ui/app_state.h"
#include "ui/name_it.h"
#include "ui/prompt.h"

namespace quantora::testing {

struct Prompt {
    QString text;
    PromptIcon icon;
    PromptButtons buttons;
};

class RecordingPrompter : public Prompter {
  public:
    PromptAnswer Ask(QWidget*, const QString& text, PromptIcon icon,
                     PromptButtons buttons) override {
        asked.push_back({text, icon, buttons});
        if (answers.empty()) return PromptAnswer::Ok;
        PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<Prompt> asked;
    std::deque<PromptAnswer> answers;
};

class RecordingSounds : public Sounds {
  public:
    void PlayPing() override { ++pings; }
    void PlayAsterisk() override { ++asterisks; }
    int pings = 0;
    int asterisks = 0;
};

// A default folder set up as at a first start, and the shared state over it.
class Environment {
  public:
    Environment() { Restart(); }

    // Reads the settings and the data folder again, as a new start of the program does.
    void Restart() {
        state = std::make_unique<AppState>();
        state->Settings = ReadSettings(home.path());
        state->Paths = SetUpDataFolder(home.path(), state->Settings).paths;
        state->Measures.ProgramFolder = home.path();
        state->prompter = &prompter;
        state->sounds = &sounds;
    }

    TempFolder home;
    RecordingPrompter prompter;
    RecordingSounds sounds;
    std::unique_ptr<AppState> state;
};

// Answers each name dialog that opens with the next scripted answer: a name typed over the
// offered text and OK, or (for nullopt) Cancel. Records what each dialog offered.
class NameDialogScript : public QObject {
  public:
    explicit NameDialogScript(std::deque<std::optional<QString>> answers)
        : answers_(std::move(answers)) {
        connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
        timer_.start(5);
    }

    struct Offer {
        QString text;
        QString selected;
        QPoint position;
    };
    std::vector<Offer> offers;

  private:
    void Poll() {
        auto* dialog = qobject_cast<NameIt*>(QApplication::activeModalWidget());
        if (!dialog || answers_.empty() || dialog == handled_) return;
        handled_ = dialog;
        auto* text = dialog->findChild<QLineEdit*>("Text1");
        offers.push_back({text->text(), text->selectedText(), dialog->pos()});
        std::optional<QString> answer = answers_.front();
        answers_.pop_front();
        if (!answer) {
            QTest::mouseClick(dialog->findChild<QPushButton*>("CancelBtn"), Qt::LeftButton);
            return;
        }
        QTest::keyClicks(text, *answer);
        QTest::mouseClick(dialog->findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
    }

    std::deque<std::optional<QString>> answers_;
    QTimer timer_;
    QPointer<NameIt> handled_;
};

// Closes each modal window of type W that opens, noting its caption.
template <typename W>
class ModalCloser : public QObject {
  public:
    ModalCloser() {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* window = qobject_cast<W*>(QApplication::activeModalWidget());
            if (!window || window == seen_) return;
            seen_ = window;
            captions.push_back(window->windowTitle());
            window->reject();
        });
        timer_.start(5);
    }
    std::vector<QString> captions;

  private:
    QTimer timer_;
    QPointer<W> seen_;
};

}  // namespace quantora::testing
