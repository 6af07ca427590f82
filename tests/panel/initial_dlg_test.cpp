// CInitialDlg: the checks before the splash, and the splash itself.
#include "initial_dlg.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "screen_check.h"
#include "scripted_prompt.h"
#include "temp_dir.h"

namespace qav::panel {
namespace {

namespace fs = std::filesystem;
using platform::PromptAnswer;

// The offscreen platform's screen is smaller than 1024 x 768, so the question comes first.
std::optional<platform::PromptRequest> ExpectedQuestion() {
    return SmallScreenQuestion(QGuiApplication::primaryScreen()->size());
}

TEST(InitialDlg, SmallScreenDeclined) {
    const auto question = ExpectedQuestion();
    if (!question) {
        GTEST_SKIP() << "the screen is large enough";
    }
    test::TempDir root;
    test::ScriptedPrompt prompt;
    prompt.Script({PromptAnswer::No});
    CInitialDlg splash(prompt, root.Path());
    EXPECT_FALSE(splash.Run());
    ASSERT_EQ(prompt.Calls().size(), 1u);
    EXPECT_EQ(prompt.Calls()[0], *question);
    EXPECT_FALSE(fs::exists(root / "qav_settings"));
}

TEST(InitialDlg, FolderCannotBeCreated) {
    struct Case {
        const char* fileInPlace;
        QString message;
    };
    const Case cases[] = {{"qav_settings", "Невозможно создать каталог настроек КАВ-510"},
                          {"qav_db", "Невозможно создать каталог базы данных КАВ-510"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileInPlace);
        test::TempDir root;
        test::WriteBytes(root / c.fileInPlace, "x");
        test::ScriptedPrompt prompt;
        const auto question = ExpectedQuestion();
        if (question) {
            prompt.Script({PromptAnswer::Yes});
        }
        CInitialDlg splash(prompt, root.Path());
        EXPECT_FALSE(splash.Run());
        const auto calls = prompt.Calls();
        ASSERT_EQ(calls.size(), question ? 2u : 1u);
        EXPECT_EQ(calls.back(), (platform::PromptRequest{c.message, "Ошибка", platform::PromptIcon::Error}));
        EXPECT_FALSE(splash.isVisible());
    }
}

TEST(InitialDlg, ShowsForThreeSecondsWhateverTheKeys) {
    test::TempDir root;
    test::ScriptedPrompt prompt;
    if (ExpectedQuestion()) {
        prompt.Script({PromptAnswer::Yes});
    }
    CInitialDlg splash(prompt, root.Path());
    EXPECT_EQ(splash.windowTitle(), QStringLiteral("Приветствие"));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    const QLabel* picture = splash.findChild<QLabel*>();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().deviceIndependentSize().toSize(), QSize(500, 190));

    QRect shownAt;
    bool stillShown = false;
    QTimer::singleShot(500, &splash, [&] {
        shownAt = splash.geometry();
        QTest::keyClick(&splash, Qt::Key_Escape);
        QTest::keyClick(&splash, Qt::Key_Return);
        splash.close();
        QCoreApplication::processEvents();
        stillShown = splash.isVisible();
    });
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_TRUE(splash.Run());
    EXPECT_GE(elapsed.elapsed(), 2900);
    EXPECT_LT(elapsed.elapsed(), 8000);
    EXPECT_TRUE(stillShown);

    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(shownAt.size(), QSize(500, 190));
    EXPECT_EQ(shownAt.topLeft(),
              QPoint(work.x() + work.width() / 2 - 250, work.y() + work.height() / 2 - 95));
    EXPECT_TRUE(fs::is_directory(root / "qav_settings"));
    EXPECT_TRUE(fs::is_directory(root / "qav_db"));
}

}  // namespace
}  // namespace qav::panel
