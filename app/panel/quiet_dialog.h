// The base of the program's dialogs: Enter and Escape do nothing in them, so a dialog ends only through its
// own buttons (and its close box, where it has one).
#pragma once

#include <QDialog>

namespace qav::panel {

class CQuietDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace qav::panel
