// Reading the command line.
#include "command_line.h"

namespace qav::panel {

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine result;
    if (arguments.size() < 2) {
        return result;
    }
    const QString& first = arguments.at(1);
    if (first == QLatin1String("-copy")) {
        result.copiesAllowed = true;
    } else if (first == QLatin1String("-debug")) {
        result.debug = true;
    } else {
        result.showUsage = true;
    }
    return result;
}

platform::PromptRequest UsageBox() {
    return {QStringLiteral("Использование:\r\n"
                           "     cpl_qav510.exe [-комманда]\r\n\r\n"
                           "Комманды:\r\n"
                           "     -copy : позволяет запускать несколько копий программы;\r\n"
                           "     -debug : активировать режим отладки;\r\n"),
            QStringLiteral("CPL_QAV510"), platform::PromptIcon::Information};
}

}  // namespace qav::panel
