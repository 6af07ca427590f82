// The message-box Prompt: its boxes, and boxes asked for by worker threads.
#include "message_box_prompt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <future>
#include <memory>
#include <thread>

#include "widget_check.h"

namespace qav::panel {
namespace {

using platform::PromptAnswer;
using platform::PromptButtons;
using platform::PromptIcon;
using platform::PromptRequest;

QMessageBox* ShownBox() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible()) {
            return box;
        }
    }
    return nullptr;
}

QMessageBox* WaitForBox() {
    QMessageBox* box = nullptr;
    test::RunEventsUntil([&] { return (box = ShownBox()) != nullptr; }, 5000);
    return box;
}

// The box's buttons, left to right.
std::vector<QPushButton*> Buttons(QMessageBox* box) {
    std::vector<QPushButton*> buttons;
    for (QAbstractButton* b : box->buttons()) {
        buttons.push_back(qobject_cast<QPushButton*>(b));
    }
    std::sort(buttons.begin(), buttons.end(), [box](QPushButton* a, QPushButton* b) {
        return a->mapTo(box, QPoint()).x() < b->mapTo(box, QPoint()).x();
    });
    return buttons;
}

QStringList Texts(const std::vector<QPushButton*>& buttons) {
    QStringList texts;
    for (QPushButton* b : buttons) {
        texts << b->text();
    }
    return texts;
}

// Runs `answer` on the box as soon as it is shown by a call on the user-interface thread.
void WhenShown(std::function<void(QMessageBox*)> answer) {
    QTimer::singleShot(0, [answer] {
        QMessageBox* box = WaitForBox();
        ASSERT_NE(box, nullptr);
        answer(box);
    });
}

void Click(QMessageBox* box, const QString& text) {
    for (QPushButton* b : Buttons(box)) {
        if (b->text() == text) {
            b->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
}

TEST(MessageBoxPrompt, ButtonsInOrderWithRussianTexts) {
    struct Case {
        PromptButtons buttons;
        QStringList texts;
    };
    const Case cases[] = {
        {PromptButtons::Ok, {"ОК"}},
        {PromptButtons::OkCancel, {"ОК", "Отмена"}},
        {PromptButtons::YesNo, {"Да", "Нет"}},
        {PromptButtons::YesNoCancel, {"Да", "Нет", "Отмена"}},
        {PromptButtons::RetryCancel, {"Повтор", "Отмена"}},
        {PromptButtons::AbortRetryIgnore, {"Прервать", "Повтор", "Пропустить"}},
        {PromptButtons::CancelTryContinue, {"Отмена", "Повторить", "Продолжить"}},
    };
    QMessageBoxPrompt prompt;
    for (const Case& c : cases) {
        const auto answers = platform::AnswersOf(c.buttons);
        for (std::size_t i = 0; i < answers.size(); ++i) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(c.buttons) << " button " << i);
            QStringList shown;
            WhenShown([&](QMessageBox* box) {
                shown = Texts(Buttons(box));
                Buttons(box)[i]->click();
            });
            EXPECT_EQ(prompt.Ask({"?", "Тест", PromptIcon::Question, c.buttons}), answers[i]);
            EXPECT_EQ(shown, c.texts);
        }
    }
}

TEST(MessageBoxPrompt, TextCaptionIconDefaultAndTopmost) {
    QMessageBoxPrompt prompt;
    WhenShown([](QMessageBox* box) {
        EXPECT_EQ(box->text(), QStringLiteral("Первая строка\nвторая <b>строка</b>\n\nконец"));
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Внимание"));
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_EQ(box->defaultButton(), Buttons(box)[1]);
        EXPECT_EQ(box->parentWidget(), nullptr);
        Click(box, "Нет");
    });
    EXPECT_EQ(prompt.Ask({"Первая строка\r\nвторая <b>строка</b>\r\n\nконец", "Внимание", PromptIcon::Warning,
                          PromptButtons::YesNo, 1, true}),
              PromptAnswer::No);

    WhenShown([](QMessageBox* box) {
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_FALSE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_EQ(box->defaultButton(), Buttons(box)[0]);
        Click(box, "ОК");
    });
    EXPECT_EQ(prompt.Ask({"x", "Ошибка", PromptIcon::Error}), PromptAnswer::Ok);
}

// Closing a box counts as Cancel, or Ok for a box with only that button; other boxes stay open.
TEST(MessageBoxPrompt, ClosingTheBox) {
    QMessageBoxPrompt prompt;
    WhenShown([](QMessageBox* box) { box->close(); });
    EXPECT_EQ(prompt.Ask({"x", "c", PromptIcon::None, PromptButtons::Ok}), PromptAnswer::Ok);
    WhenShown([](QMessageBox* box) { box->close(); });
    EXPECT_EQ(prompt.Ask({"x", "c", PromptIcon::None, PromptButtons::YesNoCancel}), PromptAnswer::Cancel);

    WhenShown([](QMessageBox* box) {
        box->close();
        QTest::keyClick(box, Qt::Key_Escape);
        QCoreApplication::processEvents();
        EXPECT_TRUE(box->isVisible());
        Click(box, "Да");
    });
    EXPECT_EQ(prompt.Ask({"x", "c", PromptIcon::None, PromptButtons::YesNo}), PromptAnswer::Yes);
}

// Answers the boxes as they appear, from inside whichever box's event loop is running: `answer` gets each
// newly shown box once.
class BoxAnswerer {
public:
    explicit BoxAnswerer(std::function<void(QMessageBox*)> answer) : answer_(std::move(answer)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (box != nullptr && box->isVisible() && !answered_.contains(box)) {
                    answered_ << box;
                    answer_(box);
                }
            }
        });
        timer_.start(10);
    }

private:
    std::function<void(QMessageBox*)> answer_;
    QList<QMessageBox*> answered_;
    QTimer timer_;
};

template <class T>
bool Ready(const std::future<T>& f) {
    return f.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

TEST(MessageBoxPrompt, AskedFromAWorkerThread) {
    QMessageBoxPrompt prompt;
    std::thread::id asker;
    auto answer = std::async(std::launch::async, [&] {
        asker = std::this_thread::get_id();
        return prompt.Ask({"Повторить?", "Ошибка", PromptIcon::Error, PromptButtons::YesNo, 0, true});
    });
    int boxes = 0;
    const BoxAnswerer answerer([&](QMessageBox* box) {
        ++boxes;
        EXPECT_EQ(box->thread(), QApplication::instance()->thread());
        EXPECT_EQ(box->text(), QStringLiteral("Повторить?"));
        // The worker waits for the answer.
        EXPECT_EQ(answer.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
        Click(box, "Нет");
    });
    ASSERT_GE(test::RunEventsUntil([&] { return Ready(answer); }, 5000), 0);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(answer.get(), PromptAnswer::No);
    EXPECT_NE(asker, std::this_thread::get_id());
}

TEST(MessageBoxPrompt, WorkersAskAtTheSameTime) {
    QMessageBoxPrompt prompt;
    auto first = std::async(std::launch::async, [&] {
        return prompt.Ask({"1", "c", PromptIcon::None, PromptButtons::OkCancel});
    });
    auto second = std::async(std::launch::async, [&] {
        return prompt.Ask({"2", "c", PromptIcon::None, PromptButtons::OkCancel});
    });
    const BoxAnswerer answerer([](QMessageBox* box) { Click(box, box->text() == "1" ? "ОК" : "Отмена"); });
    ASSERT_GE(test::RunEventsUntil([&] { return Ready(first) && Ready(second); }, 5000), 0);
    EXPECT_EQ(first.get(), PromptAnswer::Ok);
    EXPECT_EQ(second.get(), PromptAnswer::Cancel);
}

// A worker must not wait for ever when the prompt goes away before its box could be shown.
TEST(MessageBoxPrompt, WorkerReleasedWhenThePromptEnds) {
    auto prompt = std::make_unique<QMessageBoxPrompt>();
    std::promise<void> asking;
    auto answer = std::async(std::launch::async, [&] {
        asking.set_value();
        return prompt->Ask({"?", "c", PromptIcon::None, PromptButtons::YesNo});
    });
    asking.get_future().wait();
    // The request is queued once the worker blocks; give it the moment it needs.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    prompt.reset();
    ASSERT_EQ(answer.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(answer.get(), PromptAnswer::No);
    QCoreApplication::processEvents();
    EXPECT_EQ(ShownBox(), nullptr);
}

TEST(MessageBoxPrompt, EscapeAnswer) {
    EXPECT_EQ(QMessageBoxPrompt::EscapeAnswer(PromptButtons::Ok), PromptAnswer::Ok);
    EXPECT_EQ(QMessageBoxPrompt::EscapeAnswer(PromptButtons::OkCancel), PromptAnswer::Cancel);
    EXPECT_EQ(QMessageBoxPrompt::EscapeAnswer(PromptButtons::YesNo), PromptAnswer::No);
    EXPECT_EQ(QMessageBoxPrompt::EscapeAnswer(PromptButtons::YesNoCancel), PromptAnswer::Cancel);
    EXPECT_EQ(QMessageBoxPrompt::EscapeAnswer(PromptButtons::AbortRetryIgnore), PromptAnswer::Abort);
    EXPECT_EQ(QMessageBoxPrompt::EscapeAnswer(PromptButtons::CancelTryContinue), PromptAnswer::Cancel);
}

}  // namespace
}  // namespace qav::panel
