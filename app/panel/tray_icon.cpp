// The tray icon and its menu.
#include "tray_icon.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>
#include <utility>

#include "panel_images.h"

namespace qav::panel {

TrayImages ProgramTrayImages() {
    return {ImageIcon(ImageRole::TrayNormal), ImageIcon(ImageRole::TrayRecording),
            ImageIcon(ImageRole::TrayWarning)};
}

CTrayIcon::CTrayIcon(TrayImages images, QWidget* panel, QObject* parent)
    : QObject(parent),
      images_(std::move(images)),
      panel_(panel),
      menu_(std::make_unique<QMenu>()),
      view_{TrayImage::Normal, InitialTrayTip()} {
    menu_->addAction(QStringLiteral("Помощь"), this, &CTrayIcon::helpRequested);
    menu_->addSeparator();
    menu_->addAction(QStringLiteral("База данных"), this, &CTrayIcon::databaseRequested);
    menu_->addAction(QStringLiteral("Настройки КАВ-510"), this, &CTrayIcon::parametersRequested);
    menu_->addAction(QStringLiteral("Настройки программы"), this, &CTrayIcon::settingsRequested);
    menu_->addSeparator();
    menu_->addAction(QStringLiteral("О программе"), this, &CTrayIcon::aboutRequested);

    // An icon without an image would be an empty square, so the images must be there too.
    if (!QSystemTrayIcon::isSystemTrayAvailable() || images_.normal.isNull()) {
        return;
    }
    icon_ = new QSystemTrayIcon(images_.normal, this);
    icon_->setToolTip(view_.tip);
    icon_->setContextMenu(menu_.get());
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Context && panel_ != nullptr) {
            panel_->raise();
            panel_->activateWindow();
        }
    });
    icon_->show();
}

CTrayIcon::~CTrayIcon() {
    Remove();
}

bool CTrayIcon::IsShown() const {
    return icon_ != nullptr && icon_->isVisible();
}

const QIcon& CTrayIcon::Image(TrayImage image) const {
    switch (image) {
        case TrayImage::Recording:
            return images_.recording;
        case TrayImage::Warning:
            return images_.warning;
        case TrayImage::Normal:
            break;
    }
    return images_.normal;
}

void CTrayIcon::Update(const RecorderActivity& recorder) {
    const TrayView next = state_.Tick(recorder);
    if (icon_ != nullptr) {
        if (next.image != view_.image) {
            icon_->setIcon(Image(next.image));
        }
        if (next.tip != view_.tip) {
            icon_->setToolTip(next.tip);
        }
    }
    view_ = next;
}

void CTrayIcon::Remove() {
    if (icon_ != nullptr) {
        icon_->hide();
        delete icon_;
        icon_ = nullptr;
    }
}

}  // namespace qav::panel
