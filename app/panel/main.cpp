// CPL_QAV510: the operator's control panel of the КАВ-510 motor protection relay.
#include <QApplication>

#include "cpl_qav508_app.h"
#include "message_box_prompt.h"
#include "panel_images.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("CPL_QAV510"));
    QApplication::setWindowIcon(qav::panel::ImageIcon(qav::panel::ImageRole::WindowIcon));
    // The program ends when the operator exits the main panel, not when its last window happens to close.
    QApplication::setQuitOnLastWindowClosed(false);

    qav::panel::QMessageBoxPrompt prompt;
    qav::panel::CCPL_QAV508App shell(prompt);
    return shell.Run(QApplication::arguments());
}
