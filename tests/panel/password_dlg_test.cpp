// CPasswordDlg in both modes, driven as the operator drives it.
#include "password_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "password_ask.h"
#include "scripted_prompt.h"
#include "widget_check.h"

namespace qav::panel {
namespace {

using platform::PromptIcon;

// Typing as the keyboard does, Cyrillic included (QTest's own typing knows only ASCII).
void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// The dialog shown without its own event loop, so that a test can act on it step by step.
struct Dialog {
    test::ScriptedPrompt prompt;
    CPasswordDlg dialog;
    QList<QLineEdit*> edits;  // password, repeat
    QCheckBox* show = nullptr;
    QPushButton* enter = nullptr;
    QPushButton* cancel = nullptr;

    explicit Dialog(PasswordMode mode) : dialog(prompt, mode) {
        dialog.show();
        edits = dialog.findChildren<QLineEdit*>();
        show = dialog.findChild<QCheckBox*>();
        for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
            (b->text() == QStringLiteral("Ввод") ? enter : cancel) = b;
        }
    }
    QLineEdit* Password() const { return edits.at(0); }
    QLineEdit* Repeat() const { return edits.at(1); }

    void Type(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        TypeText(edit, text);
    }
    void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    bool Open() const { return dialog.isVisible(); }
};

QString Label(const CPasswordDlg& dialog) {
    QStringList texts;
    for (const QLabel* l : dialog.findChildren<QLabel*>()) {
        if (l->isVisible()) {
            texts << l->text();
        }
    }
    return texts.join('|');
}

TEST(PasswordDlg, Texts) {
    Dialog enter(PasswordMode::Enter);
    ASSERT_EQ(enter.edits.size(), 2);
    EXPECT_EQ(enter.dialog.windowTitle(), QStringLiteral("Ввод пароля"));
    EXPECT_EQ(Label(enter.dialog), QStringLiteral("Введите пароль:"));
    EXPECT_FALSE(enter.Repeat()->isVisible());
    EXPECT_EQ(enter.show->text(), QStringLiteral("Отображать пароль при вводе"));
    EXPECT_EQ(enter.enter->text(), QStringLiteral("Ввод"));
    EXPECT_EQ(enter.cancel->text(), QStringLiteral("Отмена"));

    Dialog fresh(PasswordMode::New);
    EXPECT_EQ(Label(fresh.dialog), QStringLiteral("  Новый пароль:|Повторите:"));
    EXPECT_TRUE(fresh.Repeat()->isVisible());
}

TEST(PasswordDlg, MaskedWithStarsAndBounded) {
    Dialog d(PasswordMode::New);
    d.Type(d.Password(), "Пароль1");
    d.Type(d.Repeat(), "abc");
    EXPECT_EQ(d.Password()->displayText(), QStringLiteral("*******"));
    EXPECT_EQ(d.Repeat()->displayText(), QStringLiteral("***"));

    d.Type(d.Password(), QString(300, 'x'));
    EXPECT_EQ(d.Password()->text().size(), 255);
}

TEST(PasswordDlg, EnterModeAcceptsAnyText) {
    Dialog d(PasswordMode::Enter);
    d.Click(d.enter);
    EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(d.dialog.Password(), QString());
    EXPECT_TRUE(d.prompt.Calls().empty());

    Dialog typed(PasswordMode::Enter);
    typed.Type(typed.Password(), "abc");
    typed.Click(typed.enter);
    EXPECT_EQ(typed.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(typed.dialog.Password(), QStringLiteral("abc"));
}

TEST(PasswordDlg, NewPasswordTooShort) {
    Dialog d(PasswordMode::New);
    d.Type(d.Password(), "1234567");
    d.Type(d.Repeat(), "1234567");
    d.Click(d.enter);
    ASSERT_EQ(d.prompt.Calls().size(), 1u);
    EXPECT_EQ(d.prompt.Calls()[0],
              (platform::PromptRequest{"Длина пароля должна составлять не менее 8 символов", "Ввод пароля",
                                       PromptIcon::Warning}));
    EXPECT_TRUE(d.Open());
}

TEST(PasswordDlg, NewPasswordRepeatedWrongly) {
    Dialog d(PasswordMode::New);
    d.Type(d.Password(), "12345678");
    d.Type(d.Repeat(), "12345679");
    d.Click(d.enter);
    ASSERT_EQ(d.prompt.Calls().size(), 1u);
    EXPECT_EQ(d.prompt.Calls()[0],
              (platform::PromptRequest{"Ошибка при вводе пароля.", "Ввод пароля", PromptIcon::Error}));
    EXPECT_TRUE(d.Open());

    // Put right, it is taken.
    d.Repeat()->clear();
    d.Type(d.Repeat(), "12345678");
    d.Click(d.enter);
    EXPECT_EQ(d.prompt.Calls().size(), 1u);
    EXPECT_FALSE(d.Open());
    EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(d.dialog.Password(), QStringLiteral("12345678"));
}

TEST(PasswordDlg, ShownPasswordNeedsNoRepetition) {
    Dialog d(PasswordMode::New);
    d.Type(d.Password(), "12345678");
    d.Type(d.Repeat(), "stale");
    d.Click(d.show);
    EXPECT_FALSE(d.Repeat()->isEnabled());
    EXPECT_TRUE(d.Repeat()->text().isEmpty());
    EXPECT_EQ(d.Password()->displayText(), QStringLiteral("12345678"));
    EXPECT_EQ(d.Password()->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(d.Repeat()->echoMode(), QLineEdit::Normal);

    d.Click(d.show);  // masked again, repetition needed again
    EXPECT_TRUE(d.Repeat()->isEnabled());
    EXPECT_EQ(d.Password()->displayText(), QStringLiteral("********"));
    EXPECT_EQ(d.Repeat()->echoMode(), QLineEdit::Password);
    d.Click(d.enter);
    EXPECT_EQ(d.prompt.Calls().size(), 1u);
    EXPECT_TRUE(d.Open());

    d.Click(d.show);
    d.Click(d.enter);
    EXPECT_EQ(d.prompt.Calls().size(), 1u);
    EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(d.dialog.Password(), QStringLiteral("12345678"));
}

TEST(PasswordDlg, ShownPasswordStillNeedsEightCharacters) {
    Dialog d(PasswordMode::New);
    d.Click(d.show);
    d.Type(d.Password(), "short");
    d.Click(d.enter);
    ASSERT_EQ(d.prompt.Calls().size(), 1u);
    EXPECT_EQ(d.prompt.Calls()[0].text, QStringLiteral("Длина пароля должна составлять не менее 8 символов"));
    EXPECT_TRUE(d.Open());
}

TEST(PasswordDlg, CancelAndCloseEmptyTheTexts) {
    for (const bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Отмена");
        Dialog d(PasswordMode::New);
        d.Type(d.Password(), "12345678");
        d.Type(d.Repeat(), "12345678");
        if (closeBox) {
            d.dialog.close();
        } else {
            d.Click(d.cancel);
        }
        EXPECT_FALSE(d.Open());
        EXPECT_EQ(d.dialog.result(), QDialog::Rejected);
        EXPECT_TRUE(d.dialog.Password().isEmpty());
        EXPECT_TRUE(d.Repeat()->text().isEmpty());
    }
}

TEST(PasswordDlg, EnterAndEscapeDoNothing) {
    Dialog d(PasswordMode::Enter);
    d.Type(d.Password(), "abc");
    QTest::keyClick(d.Password(), Qt::Key_Return);
    QTest::keyClick(d.Password(), Qt::Key_Enter);
    QTest::keyClick(d.Password(), Qt::Key_Escape);
    QTest::keyClick(&d.dialog, Qt::Key_Escape);
    EXPECT_TRUE(d.Open());
    EXPECT_EQ(d.dialog.Password(), QStringLiteral("abc"));
}

// The check's question, answered in the modal dialog.
TEST(PasswordAsker, ReturnsTheEntryOrNothing) {
    test::ScriptedPrompt prompt;
    const settings::AskPassword ask = PasswordAsker(prompt, nullptr);
    for (const bool accept : {true, false}) {
        SCOPED_TRACE(accept ? "Ввод" : "Отмена");
        QTimer::singleShot(0, [accept] {
            CPasswordDlg* dialog = nullptr;
            test::RunEventsUntil(
                [&] {
                    for (QWidget* w : QApplication::topLevelWidgets()) {
                        if (auto* d = qobject_cast<CPasswordDlg*>(w); d != nullptr && d->isVisible()) {
                            dialog = d;
                        }
                    }
                    return dialog != nullptr;
                },
                5000);
            ASSERT_NE(dialog, nullptr);
            TypeText(dialog->findChildren<QLineEdit*>().at(0), "Пароль");
            for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
                if (b->text() == (accept ? QStringLiteral("Ввод") : QStringLiteral("Отмена"))) {
                    b->click();
                }
            }
        });
        const std::optional<QString> entry = ask();
        EXPECT_EQ(entry, accept ? std::optional(QStringLiteral("Пароль")) : std::nullopt);
    }
}

}  // namespace
}  // namespace qav::panel
