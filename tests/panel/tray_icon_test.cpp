// CTrayIcon: its menu, and working on without a tray.
#include "tray_icon.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QWidget>

namespace qav::panel {
namespace {

TEST(TrayIcon, MenuEntriesInOrder) {
    QWidget panel;
    CTrayIcon tray({}, &panel);
    QStringList entries;
    for (const QAction* a : tray.Menu()->actions()) {
        entries << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    EXPECT_EQ(entries, QStringList({"Помощь", "-", "База данных", "Настройки КАВ-510", "Настройки программы",
                                    "-", "О программе"}));
}

TEST(TrayIcon, EntriesRequestTheirCommands) {
    QWidget panel;
    CTrayIcon tray({}, &panel);
    QSignalSpy help(&tray, &CTrayIcon::helpRequested);
    QSignalSpy database(&tray, &CTrayIcon::databaseRequested);
    QSignalSpy parameters(&tray, &CTrayIcon::parametersRequested);
    QSignalSpy settings(&tray, &CTrayIcon::settingsRequested);
    QSignalSpy about(&tray, &CTrayIcon::aboutRequested);
    const QList<QAction*> actions = tray.Menu()->actions();
    actions[3]->trigger();  // "Настройки КАВ-510"
    EXPECT_EQ(parameters.count(), 1);
    actions[4]->trigger();  // "Настройки программы"
    EXPECT_EQ(settings.count(), 1);
    actions[0]->trigger();
    actions[2]->trigger();
    actions[6]->trigger();
    EXPECT_EQ(help.count(), 1);
    EXPECT_EQ(database.count(), 1);
    EXPECT_EQ(about.count(), 1);
    EXPECT_EQ(parameters.count(), 1);
    EXPECT_EQ(settings.count(), 1);
}

// The offscreen platform has no tray: nothing is shown, and the state still follows the recorder.
TEST(TrayIcon, WithoutATray) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    QWidget panel;
    QPixmap image(16, 16);
    image.fill(Qt::green);
    CTrayIcon tray({QIcon(image), QIcon(image), QIcon(image)}, &panel);
    EXPECT_FALSE(tray.IsShown());
    EXPECT_EQ(tray.CurrentView().tip, QStringLiteral("База данных КАВ-510"));
    tray.Update(RecorderActivity{});
    EXPECT_EQ(tray.CurrentView(), (TrayView{TrayImage::Warning, "Запись базы данных невозможна"}));
    tray.Update({true, false, true});
    tray.Update({true, false, true});
    EXPECT_EQ(tray.CurrentView(), (TrayView{TrayImage::Recording, "Запись базы данных включена"}));
    tray.Remove();
    EXPECT_FALSE(tray.IsShown());
}

}  // namespace
}  // namespace qav::panel
