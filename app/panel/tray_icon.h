// CTrayIcon: the program's icon in the desktop's tray, with its menu and the recorder state as image and
// tip. Without a tray (Xvfb, offscreen) nothing is shown, the rest works the same.
#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <memory>

#include "tray_state.h"

class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace qav::panel {

struct TrayImages {
    QIcon normal;
    QIcon recording;
    QIcon warning;
};

// The program's three tray images.
TrayImages ProgramTrayImages();

class CTrayIcon : public QObject {
    Q_OBJECT
public:
    // `panel` is brought forward when the menu opens; the icon starts with the normal image and the tip
    // "База данных КАВ-510".
    CTrayIcon(TrayImages images, QWidget* panel, QObject* parent = nullptr);
    ~CTrayIcon() override;

    // Whether the desktop shows the icon.
    bool IsShown() const;
    // One display-timer tick: image and tip from the recorder.
    void Update(const RecorderActivity& recorder);
    // Takes the icon out of the tray (at the program's end).
    void Remove();

    TrayView CurrentView() const { return view_; }
    // The right-button menu.
    QMenu* Menu() const { return menu_.get(); }

signals:
    void helpRequested();
    void databaseRequested();
    void parametersRequested();
    void settingsRequested();
    void aboutRequested();

private:
    const QIcon& Image(TrayImage image) const;

    TrayImages images_;
    QPointer<QWidget> panel_;
    std::unique_ptr<QMenu> menu_;
    QSystemTrayIcon* icon_ = nullptr;
    TrayState state_;
    TrayView view_;
};

}  // namespace qav::panel
