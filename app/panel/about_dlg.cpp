// The About box.
#include "about_dlg.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "QAV508DLL.h"
#include "about_texts.h"
#include "cx_label.h"
#include "cx_led.h"
#include "help_opener.h"
#include "maker.h"
#include "panel_images.h"
#include "qt_color.h"
#include "settings_use.h"
#include "system_info.h"

namespace qav::panel {

namespace {

struct Colours {
    QColor text;
    QColor back;
};

// Theme 1 takes the settings' pair, otherwise the system's button face and window text.
Colours ThemeColours(const settings::_tagSTRUCT_SETTINGS& settings, const QPalette& system) {
    if (settings::Theme(settings) == 1) {
        return {controls::FromColorRef(settings.nColorText), controls::FromColorRef(settings.nColorBack)};
    }
    return {system.color(QPalette::WindowText), system.color(QPalette::Button)};
}

QPushButton* Button(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CAboutDlg::CAboutDlg(const settings::_tagSTRUCT_SETTINGS& settings, platform::Prompt& prompt, QWidget* parent)
    : CQuietDialog(parent),
      prompt_(prompt),
      picture_(new QLabel(this)),
      title_(new controls::CXLabel(QStringLiteral("Панель управления КАВ-510"), this)),
      globes_{new controls::CXLed(this), new controls::CXLed(this)} {
    setWindowTitle(QStringLiteral("О Программе CPL_QAV510"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    const Colours colours = ThemeColours(settings, palette());
    QPalette themed = palette();
    themed.setColor(QPalette::Window, colours.back);
    themed.setColor(QPalette::WindowText, colours.text);
    setPalette(themed);
    setAutoFillBackground(true);

    title_->SetColors(colours.text, colours.back);
    title_->SetBold(true);
    title_->SetFontSize(12);
    picture_->setPixmap(ImagePixmap(ImageRole::About, devicePixelRatioF()));
    const controls::IconImage globe = PanelImage(ImageRole::Globe);
    for (controls::CXLed* led : globes_) {
        led->setFixedSize(globe.size);
        led->LoadIcons(globe, {});
        led->SetState(1);
    }

    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(globes_[0]);
    titleRow->addWidget(title_, 1);
    titleRow->addWidget(globes_[1]);

    const QString site = QString::fromUtf8(kMakerSite);
    auto* link = new QLabel(QStringLiteral("<a href=\"%1\">%2</a>")
                                .arg(QUrl::fromUserInput(site).toString(), site.toHtmlEscaped()),
                            this);
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    connect(link, &QLabel::linkActivated, this,
            [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); });

    auto* texts = new QVBoxLayout;
    texts->addLayout(titleRow);
    texts->addWidget(
        new QLabel(QStringLiteral("Программа контроля и управления\nреле защиты двигателя КАВ-510"), this));
    texts->addWidget(new QLabel(FirmwareRangeText(dll_nVerMinor, dll_nVerMajor), this));
    texts->addWidget(new QLabel(ProgramVersionText(CurrentProgramVersion()), this));
    texts->addWidget(new QLabel(QString::fromUtf8(kMakerName), this));
    texts->addWidget(link);
    texts->addStretch();

    QPushButton* ok = Button(QStringLiteral("OK"), this);
    QPushButton* help = Button(QStringLiteral("Справка"), this);
    QPushButton* system = Button(QStringLiteral("Системная Инф."), this);
    connect(ok, &QPushButton::clicked, this, &CAboutDlg::accept);
    connect(help, &QPushButton::clicked, this, [] { OpenHelp(); });
    connect(system, &QPushButton::clicked, this, &CAboutDlg::ShowSystemInformation);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(help);
    buttons->addWidget(system);

    auto* body = new QHBoxLayout;
    body->addWidget(picture_, 0, Qt::AlignTop);
    body->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CAboutDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        OpenHelp();
        event->accept();
        return;
    }
    CQuietDialog::keyPressEvent(event);
}

void CAboutDlg::ShowSystemInformation() {
    prompt_.Ask(SystemInformationBox(CurrentSystemFacts()));
}

}  // namespace qav::panel
