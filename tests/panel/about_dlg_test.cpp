// CAboutDlg: texts, theme colours, its buttons and the guide.
#include "about_dlg.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "QAV508DLL.h"
#include "cx_label.h"
#include "cx_led.h"
#include "help_file.h"
#include "maker.h"
#include "scripted_prompt.h"
#include "temp_dir.h"
#include "widget_check.h"

namespace qav::panel {
namespace {

QStringList LabelTexts(const QWidget& w) {
    QStringList texts;
    for (const QLabel* l : w.findChildren<QLabel*>()) {
        texts << l->text();
    }
    return texts;
}

QPushButton* ButtonNamed(const QWidget& w, const QString& text) {
    for (QPushButton* b : w.findChildren<QPushButton*>()) {
        if (b->text() == text) {
            return b;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

// Records the URLs the program asks the desktop to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

TEST(AboutDlg, Texts) {
    test::ScriptedPrompt prompt;
    CAboutDlg about(settings::DefaultSettings(), prompt);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("О Программе CPL_QAV510"));
    const QStringList texts = LabelTexts(about);
    EXPECT_TRUE(
        texts.contains(QStringLiteral("Версия прошивки с %1 по %2").arg(dll_nVerMinor).arg(dll_nVerMajor)));
    EXPECT_TRUE(texts.contains(QStringLiteral("Версия программы %1.%2")
                                   .arg(QAV_PROJECT_VERSION_MAJOR)
                                   .arg(QAV_PROJECT_VERSION_MINOR)));
    EXPECT_EQ(texts.filter(QStringLiteral("<a href=\"http://%1\">%1</a>").arg(QString::fromUtf8(kMakerSite)))
                  .size(),
              1);
    const auto* title = about.findChild<controls::CXLabel*>();
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->Text(), QStringLiteral("Панель управления КАВ-510"));
    EXPECT_TRUE(title->font().bold());
    EXPECT_EQ(title->font().pointSize(), 12);
    EXPECT_EQ(about.findChildren<QPushButton*>().size(), 3);
}

// The picture and the two globes, steadily lit.
TEST(AboutDlg, Pictures) {
    test::ScriptedPrompt prompt;
    CAboutDlg about(settings::DefaultSettings(), prompt);
    EXPECT_FALSE(about.findChild<QLabel*>()->pixmap().isNull());
    const QList<controls::CXLed*> globes = about.findChildren<controls::CXLed*>();
    ASSERT_EQ(globes.size(), 2);
    for (const controls::CXLed* globe : globes) {
        EXPECT_EQ(globe->State(), 1);
        EXPECT_FALSE(globe->IsBlinking());
        EXPECT_EQ(globe->size(), QSize(48, 48));
    }
}

// Theme 1 paints the box and the title in the settings' colours, otherwise in the system's.
TEST(AboutDlg, ThemeColours) {
    test::ScriptedPrompt prompt;
    settings::_tagSTRUCT_SETTINGS themed = settings::DefaultSettings();
    themed.nTheme = 1;
    themed.nColorBack = 0x00402010;  // rgb(16, 32, 64)
    themed.nColorText = 0x0000FFFF;  // yellow
    CAboutDlg about(themed, prompt);
    about.show();
    const QImage image = test::Render(about);
    EXPECT_EQ(test::PixelAt(image, 2, 2), QColor(16, 32, 64));
    const auto* title = about.findChild<controls::CXLabel*>();
    EXPECT_EQ(title->BackgroundColor(), QColor(16, 32, 64));
    EXPECT_EQ(title->TextColor(), QColor(255, 255, 0));
    EXPECT_EQ(about.findChild<QLabel*>()->palette().color(QPalette::WindowText), QColor(255, 255, 0));

    settings::_tagSTRUCT_SETTINGS system = themed;
    system.nTheme = 0;
    CAboutDlg plain(system, prompt);
    plain.show();
    EXPECT_EQ(test::PixelAt(test::Render(plain), 2, 2), plain.palette().color(QPalette::Button));
    EXPECT_NE(plain.findChild<controls::CXLabel*>()->BackgroundColor(), QColor(16, 32, 64));
}

TEST(AboutDlg, SystemInformationAndOk) {
    test::ScriptedPrompt prompt;
    CAboutDlg about(settings::DefaultSettings(), prompt);
    about.show();
    QTest::mouseClick(ButtonNamed(about, QStringLiteral("Системная Инф.")), Qt::LeftButton);
    ASSERT_EQ(prompt.Calls().size(), 1u);
    EXPECT_EQ(prompt.Calls()[0].caption, QStringLiteral("Системная информация"));
    EXPECT_TRUE(prompt.Calls()[0].text.contains(QString::fromLatin1(qVersion())));
    EXPECT_TRUE(about.isVisible());

    QTest::keyClick(&about, Qt::Key_Escape);
    QTest::keyClick(&about, Qt::Key_Return);
    EXPECT_TRUE(about.isVisible());

    QTest::mouseClick(ButtonNamed(about, QStringLiteral("OK")), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

// "Справка" and F1 open the guide beside the program; without the guide nothing happens.
TEST(AboutDlg, Help) {
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
    test::ScriptedPrompt prompt;
    CAboutDlg about(settings::DefaultSettings(), prompt);
    about.show();

    const std::filesystem::path guide = ProgramFolder() / kHelpFileName;
    ASSERT_FALSE(std::filesystem::exists(guide));
    QTest::mouseClick(ButtonNamed(about, QStringLiteral("Справка")), Qt::LeftButton);
    QTest::keyClick(&about, Qt::Key_F1);
    EXPECT_TRUE(recorder.urls.isEmpty());

    test::WriteBytes(guide, "<html></html>");
    QTest::mouseClick(ButtonNamed(about, QStringLiteral("Справка")), Qt::LeftButton);
    QTest::keyClick(&about, Qt::Key_F1);
    std::filesystem::remove(guide);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

    const QUrl expected = QUrl::fromLocalFile(QString::fromStdString(guide.string()));
    EXPECT_EQ(recorder.urls, QList<QUrl>({expected, expected}));
    EXPECT_TRUE(prompt.Calls().empty());
}

}  // namespace
}  // namespace qav::panel

#include "about_dlg_test.moc"
