// CAboutDlg: the About box. The program and firmware versions, help, system information and the maker's
// site.
#pragma once

#include "prompt.h"
#include "quiet_dialog.h"
#include "settings_record.h"

class QLabel;

namespace qav::controls {
class CXLabel;
class CXLed;
}  // namespace qav::controls

namespace qav::panel {

class CAboutDlg : public CQuietDialog {
    Q_OBJECT
public:
    // Colours from the settings' theme; `prompt` shows the system information.
    CAboutDlg(const settings::_tagSTRUCT_SETTINGS& settings, platform::Prompt& prompt,
              QWidget* parent = nullptr);

protected:
    // F1 opens the guide.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowSystemInformation();

    platform::Prompt& prompt_;
    QLabel* picture_;
    controls::CXLabel* title_;
    controls::CXLed* globes_[2];
};

}  // namespace qav::panel
