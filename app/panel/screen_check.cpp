// The small-screen question.
#include "screen_check.h"

namespace qav::panel {

std::optional<platform::PromptRequest> SmallScreenQuestion(QSize screen) {
    if (screen.width() >= kComfortableScreen.width() && screen.height() >= kComfortableScreen.height()) {
        return std::nullopt;
    }
    return platform::PromptRequest{
        QStringLiteral("Внимание: текущее разрешение экрана (%1 x %2).\r\n\nДля комфортной работы необходимо "
                       "разрешение (%3 x %4).\r\n\nВы всеравно хотите запустить программу?")
            .arg(screen.width())
            .arg(screen.height())
            .arg(kComfortableScreen.width())
            .arg(kComfortableScreen.height()),
        QStringLiteral("Ошибка"), platform::PromptIcon::Warning, platform::PromptButtons::YesNo};
}

}  // namespace qav::panel
