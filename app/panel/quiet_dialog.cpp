// Swallowing Enter and Escape.
#include "quiet_dialog.h"

#include <QKeyEvent>

namespace qav::panel {

void CQuietDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

}  // namespace qav::panel
