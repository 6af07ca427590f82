// CInitialDlg: the start-up splash. Checks the screen and the program's folders, then greets the operator
// for about three seconds.
#pragma once

#include <QBasicTimer>
#include <filesystem>

#include "prompt.h"
#include "quiet_dialog.h"

class QLabel;

namespace qav::panel {

class CInitialDlg : public CQuietDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 500;
    static constexpr int kHeight = 190;
    static constexpr int kShowMs = 3000;
    static constexpr int kFadeInMs = 1500;

    // `programRoot` holds the folders to create.
    CInitialDlg(platform::Prompt& prompt, std::filesystem::path programRoot, QWidget* parent = nullptr);

    // Asks when the primary screen is smaller than 1024 x 768, creates the folders, then shows the splash
    // modally until its time is up. False when start-up must end: the operator declined the small screen, or
    // a folder cannot be created (after its error box).
    bool Run();

protected:
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    platform::Prompt& prompt_;
    const std::filesystem::path root_;
    QLabel* picture_;
    QBasicTimer timer_;
};

}  // namespace qav::panel
