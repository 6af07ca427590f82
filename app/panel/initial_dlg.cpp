// The splash window.
#include "initial_dlg.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPropertyAnimation>
#include <QScreen>
#include <utility>

#include "panel_images.h"
#include "program_folders.h"
#include "screen_check.h"

namespace qav::panel {

CInitialDlg::CInitialDlg(platform::Prompt& prompt, std::filesystem::path programRoot, QWidget* parent)
    : CQuietDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      prompt_(prompt),
      root_(std::move(programRoot)),
      picture_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Приветствие"));
    setFixedSize(kWidth, kHeight);
    picture_->setGeometry(0, 0, kWidth, kHeight);
    picture_->setPixmap(ImagePixmap(ImageRole::Splash, devicePixelRatioF()));
}

bool CInitialDlg::Run() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        if (const auto question = SmallScreenQuestion(screen->size())) {
            if (prompt_.Ask(*question) != platform::PromptAnswer::Yes) {
                return false;
            }
        }
    }
    if (const auto failure = CreateProgramFolders(root_)) {
        prompt_.Ask(*failure);
        return false;
    }
    return exec() == QDialog::Accepted;
}

void CInitialDlg::showEvent(QShowEvent* event) {
    CQuietDialog::showEvent(event);
    // In the middle of the work area of the screen the window is on.
    const QScreen* on = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    if (on != nullptr) {
        const QRect work = on->availableGeometry();
        move(work.x() + work.width() / 2 - kWidth / 2, work.y() + work.height() / 2 - kHeight / 2);
    }
    raise();
    timer_.start(kShowMs, Qt::PreciseTimer, this);
    auto* fade = new QPropertyAnimation(this, "windowOpacity", this);
    fade->setDuration(kFadeInMs);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void CInitialDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timer_.timerId()) {
        CQuietDialog::timerEvent(event);
        return;
    }
    timer_.stop();
    accept();
}

// The splash always lasts its time: closing it by the window manager is ignored like Escape.
void CInitialDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
}

}  // namespace qav::panel
