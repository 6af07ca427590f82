#include "link_texts.h"

#include "QAV508DLL.h"

namespace qav::monitor {

QString DeviceErrorText(uint32_t exceptionCode) {
    switch (exceptionCode) {
        case 1:
            return QStringLiteral("Прибор вернул ошибку 'ILLEGAL FUNCTION'");
        case 2:
            return QStringLiteral("Прибор вернул ошибку 'ILLEGAL DATA ADDRESS'");
        case 3:
            return QStringLiteral("Прибор вернул ошибку 'ILLEGAL DATA VALUE'");
        case 4:
            return QStringLiteral("Прибор вернул ошибку 'SLAVE DEVICE FAILURE'");
        case 5:
            return QStringLiteral("Прибор вернул ошибку 'ACKNOWLEDGE'");
        case 6:
            return QStringLiteral("Прибор вернул ошибку 'SLAVE DEVICE BUSY'");
        case 7:
            return QStringLiteral("Прибор вернул ошибку 'NEGATIVE ACKNOWLEDGE'");
        case 11:
            return QStringLiteral("Шлюз вернул ошибку 'Нет ответа от устройства'");
        default:
            return QStringLiteral("Неизвестная ошибка!");
    }
}

QString ResultText(int32_t code, uint32_t deviceError) {
    switch (code) {
        case MB_ERR_IO:
            return QStringLiteral("Ошибка Ввода/Вывода");
        case MB_ERR_TIMEOUT:
            return QStringLiteral("Ошибка таймаута. Нет ответа от устройства.");
        case MB_ERR_EXCEPTION:
            return DeviceErrorText(deviceError);
        case MB_ERR_CHECKSUM:
            return QStringLiteral("Ошибка контрольной суммы принятого пакета");
        case MB_ERR_FRAME:
            return QStringLiteral("Принят неполный кадр или кадр содержит недопустимые символы");
        case MB_ERR_NOT_OPEN:
            return QStringLiteral("Ошибка порта. Работа с несуществующим портом");
        case MB_ERR_ECHO:
            return QStringLiteral("Не все байты были переданы");
        case MB_ERR_OVERFLOW:
            return QStringLiteral("Переполнение буффера");
        default:
            return QStringLiteral("Неизвестный код ошибки %1").arg(code);
    }
}

}  // namespace qav::monitor
