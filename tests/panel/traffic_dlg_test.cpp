// CTrafficDlg on the offscreen platform: the link's traffic against the relay simulator, the bound on lines,
// following new lines, "Очистить".
#include "traffic_dlg.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <string>

#include "QAV508DLL.h"
#include "sim_process.h"
#include "widget_check.h"

namespace qav::panel {
namespace {

QStringList Lines(const CTrafficDlg& dlg) {
    return dlg.View()->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void AppendNumbered(CTrafficDlg& dlg, int32_t from, int32_t to) {
    for (int32_t n = from; n < to; ++n) {
        dlg.Log().Append({0, true, {}, n, 0});
    }
}

TEST(TrafficDlg, CaptionAndButton) {
    CTrafficDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Обмен Modbus"));
    const auto buttons = dlg.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), QStringLiteral("Очистить"));
}

// The window traces the link by itself and shows the reports within its timer's period.
TEST(TrafficDlg, ShowsTheTransactionsWithTheSimulator) {
    test::SimProcess sim;
    CTrafficDlg dlg;
    ASSERT_EQ(TCP_Open(u"127.0.0.1", sim.TcpPort()), 0);
    uint8_t buffer[8] = {};
    EXPECT_EQ(MODBUS_Read03(1, 0, 2, buffer, sizeof buffer, 0), 4);
    const int32_t tooHigh = 631;
    EXPECT_EQ(MODBUS_Write06(1, 151, &tooHigh, 0), MB_ERR_EXCEPTION);
    TCP_Close();

    ASSERT_GE(test::RunEventsUntil([&] { return Lines(dlg).size() >= 4; }, 5000), 0) << "not drained";
    const QStringList lines = Lines(dlg);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].contains(QStringLiteral(" → ")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(" 00 06 01 03 00 00 00 02"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains(QStringLiteral(" ← ")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(" 00 07 01 03 04 00 1A 00 0F | 4 Успешно")))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(" 00 06 01 06 00 97 02 77"))) << lines[2].toStdString();
    EXPECT_TRUE(
        lines[3].endsWith(QStringLiteral(" 00 03 01 86 03 | -103 Прибор вернул ошибку 'ILLEGAL DATA VALUE'")))
        << lines[3].toStdString();
}

// A window that fell behind shows the newest reports and how many were lost; later lines push the oldest out.
TEST(TrafficDlg, KeepsTheNewestLines) {
    CTrafficDlg dlg(50);
    AppendNumbered(dlg, 0, 120);
    dlg.Refresh();
    QStringList lines = Lines(dlg);
    ASSERT_EQ(lines.size(), 51);
    EXPECT_EQ(lines[0], QStringLiteral("… пропущено записей: 70"));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("| 70 Успешно"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[50].endsWith(QStringLiteral("| 119 Успешно"))) << lines[50].toStdString();

    AppendNumbered(dlg, 120, 130);
    dlg.Refresh();
    lines = Lines(dlg);
    ASSERT_EQ(lines.size(), 51);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("| 79 Успешно"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[50].endsWith(QStringLiteral("| 129 Успешно"))) << lines[50].toStdString();
}

TEST(TrafficDlg, FollowsNewLinesUnlessScrolledUp) {
    CTrafficDlg dlg(100);
    dlg.show();
    QScrollBar* bar = dlg.View()->verticalScrollBar();
    AppendNumbered(dlg, 0, 80);
    dlg.Refresh();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum()) << "follows from the start";
    dlg.resize(dlg.width(), dlg.height() / 2);
    QCoreApplication::processEvents();
    AppendNumbered(dlg, 80, 81);
    dlg.Refresh();
    EXPECT_EQ(bar->value(), bar->maximum()) << "a smaller window still follows";

    // The first line in view is the one at the bar's value.
    const auto firstShown = [&] { return Lines(dlg)[bar->value()].toStdString(); };
    bar->setValue(30);
    ASSERT_EQ(firstShown(), Lines(dlg)[30].toStdString());
    const std::string reading = firstShown();
    AppendNumbered(dlg, 81, 90);
    dlg.Refresh();
    EXPECT_EQ(firstShown(), reading) << "stays where the operator reads";

    AppendNumbered(dlg, 90, 120);  // the oldest lines go
    dlg.Refresh();
    ASSERT_LT(bar->value(), 30);
    EXPECT_EQ(firstShown(), reading) << "on the same line while it is kept";

    bar->setValue(bar->maximum());
    AppendNumbered(dlg, 110, 120);
    dlg.Refresh();
    EXPECT_EQ(bar->value(), bar->maximum()) << "follows again at the bottom";
}

TEST(TrafficDlg, ClearEmptiesTheViewAndWhatWasPending) {
    CTrafficDlg dlg;
    AppendNumbered(dlg, 0, 5);
    dlg.Refresh();
    ASSERT_EQ(Lines(dlg).size(), 5);
    AppendNumbered(dlg, 5, 8);
    QTest::mouseClick(dlg.findChild<QPushButton*>(), Qt::LeftButton);
    EXPECT_TRUE(Lines(dlg).isEmpty());
    dlg.Refresh();
    EXPECT_TRUE(Lines(dlg).isEmpty());

    AppendNumbered(dlg, 8, 9);
    dlg.Refresh();
    ASSERT_EQ(Lines(dlg).size(), 1);
    EXPECT_TRUE(Lines(dlg)[0].endsWith(QStringLiteral("| 8 Успешно")));
}

}  // namespace
}  // namespace qav::panel
