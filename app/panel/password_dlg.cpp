// The password dialog.
#include "password_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "password.h"

namespace qav::panel {

namespace {

QLineEdit* MaskedEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(static_cast<int>(settings::kMaxPasswordLength));
    edit->setEchoMode(QLineEdit::Password);
    // The style's own masking character differs between desktops; the program masks with '*'.
    edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    return edit;
}

QPushButton* Button(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CPasswordDlg::CPasswordDlg(platform::Prompt& prompt, PasswordMode mode, QWidget* parent)
    : CQuietDialog(parent),
      prompt_(prompt),
      mode_(mode),
      label_(new QLabel(
          mode == PasswordMode::New ? QStringLiteral("  Новый пароль:") : QStringLiteral("Введите пароль:"),
          this)),
      password_(MaskedEdit(this)),
      repeatLabel_(new QLabel(QStringLiteral("Повторите:"), this)),
      repeat_(MaskedEdit(this)),
      showPassword_(new QCheckBox(QStringLiteral("Отображать пароль при вводе"), this)) {
    setWindowTitle(QStringLiteral("Ввод пароля"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* fields = new QGridLayout;
    fields->addWidget(label_, 0, 0, Qt::AlignRight);
    fields->addWidget(password_, 0, 1);
    fields->addWidget(repeatLabel_, 1, 0, Qt::AlignRight);
    fields->addWidget(repeat_, 1, 1);
    repeatLabel_->setVisible(mode == PasswordMode::New);
    repeat_->setVisible(mode == PasswordMode::New);

    QPushButton* enter = Button(QStringLiteral("Ввод"), this);
    QPushButton* cancel = Button(QStringLiteral("Отмена"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(enter);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(showPassword_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(220);

    connect(enter, &QPushButton::clicked, this, &CPasswordDlg::OnEnter);
    connect(cancel, &QPushButton::clicked, this, &CPasswordDlg::reject);
    connect(showPassword_, &QCheckBox::toggled, this, &CPasswordDlg::OnShowPassword);
    password_->setFocus();
}

QString CPasswordDlg::Password() const {
    return password_->text();
}

void CPasswordDlg::OnShowPassword(bool shown) {
    const QLineEdit::EchoMode echo = shown ? QLineEdit::Normal : QLineEdit::Password;
    password_->setEchoMode(echo);
    repeat_->setEchoMode(echo);
    repeat_->setEnabled(!shown);
    if (shown) {
        repeat_->clear();
    }
}

void CPasswordDlg::OnEnter() {
    if (mode_ == PasswordMode::New) {
        const auto refusal =
            settings::NewPasswordRefusal(password_->text(), repeat_->text(), showPassword_->isChecked());
        if (refusal) {
            prompt_.Ask(*refusal);
            return;
        }
    }
    accept();
}

void CPasswordDlg::reject() {
    password_->clear();
    repeat_->clear();
    CQuietDialog::reject();
}

}  // namespace qav::panel
