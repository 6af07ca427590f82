// Message boxes with the program's Russian button texts, in the order the Prompt interface gives them.
#include "message_box_prompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <algorithm>
#include <vector>

namespace qav::panel {

using platform::PromptAnswer;
using platform::PromptButtons;
using platform::PromptIcon;
using platform::PromptRequest;

namespace {

QString ButtonText(PromptAnswer answer) {
    switch (answer) {
        case PromptAnswer::Ok:
            return QStringLiteral("ОК");
        case PromptAnswer::Cancel:
            return QStringLiteral("Отмена");
        case PromptAnswer::Yes:
            return QStringLiteral("Да");
        case PromptAnswer::No:
            return QStringLiteral("Нет");
        case PromptAnswer::Retry:
            return QStringLiteral("Повтор");
        case PromptAnswer::Abort:
            return QStringLiteral("Прервать");
        case PromptAnswer::Ignore:
            return QStringLiteral("Пропустить");
        case PromptAnswer::TryAgain:
            return QStringLiteral("Повторить");
        case PromptAnswer::Continue:
            return QStringLiteral("Продолжить");
    }
    return {};
}

QMessageBox::Icon BoxIcon(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::None:
            return QMessageBox::NoIcon;
        case PromptIcon::Information:
            return QMessageBox::Information;
        case PromptIcon::Warning:
            return QMessageBox::Warning;
        case PromptIcon::Error:
            return QMessageBox::Critical;
        case PromptIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

QMessageBoxPrompt::QMessageBoxPrompt(QObject* parent) : QObject(parent) {}

PromptAnswer QMessageBoxPrompt::EscapeAnswer(PromptButtons buttons) {
    const auto offered = platform::AnswersOf(buttons);
    for (const PromptAnswer stop : {PromptAnswer::Cancel, PromptAnswer::No, PromptAnswer::Abort}) {
        if (std::find(offered.begin(), offered.end(), stop) != offered.end()) {
            return stop;
        }
    }
    return offered.front();
}

PromptAnswer QMessageBoxPrompt::Ask(const PromptRequest& request) {
    if (QThread::currentThread() == thread()) {
        return Show(request);
    }
    // Stays the escape answer when the box never runs, for example when the program ends first.
    PromptAnswer answer = EscapeAnswer(request.buttons);
    QMetaObject::invokeMethod(
        this, [this, &request] { return Show(request); }, Qt::BlockingQueuedConnection, &answer);
    return answer;
}

PromptAnswer QMessageBoxPrompt::Show(const PromptRequest& request) {
    QMessageBox box;
    box.setIcon(BoxIcon(request.icon));
    box.setWindowTitle(request.caption);
    box.setTextFormat(Qt::PlainText);
    box.setText(QString(request.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowFlag(Qt::WindowStaysOnTopHint, request.topMost);

    // All buttons in one role keep the order they are added in; a box without an escape button cannot be
    // closed, as the interface promises for boxes with a choice but no Cancel.
    const auto offered = platform::AnswersOf(request.buttons);
    std::vector<QPushButton*> buttons;
    for (const PromptAnswer answer : offered) {
        buttons.push_back(box.addButton(ButtonText(answer), QMessageBox::ActionRole));
    }
    const auto index =
        static_cast<std::size_t>(std::clamp(request.defaultButton, 0, static_cast<int>(buttons.size()) - 1));
    box.setDefaultButton(buttons[index]);
    const auto cancel = std::find(offered.begin(), offered.end(), PromptAnswer::Cancel);
    if (cancel != offered.end()) {
        box.setEscapeButton(buttons[static_cast<std::size_t>(cancel - offered.begin())]);
    } else if (buttons.size() == 1) {
        box.setEscapeButton(buttons.front());
    }

    box.exec();
    const auto clicked = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    if (clicked == buttons.end()) {
        return EscapeAnswer(request.buttons);
    }
    return offered[static_cast<std::size_t>(clicked - buttons.begin())];
}

}  // namespace qav::panel
