#include "cx_label.h"

#include <QPainter>
#include <utility>

#include "qt_color.h"

namespace qav::controls {

namespace {

constexpr int kTextFlags = Qt::AlignHCenter | Qt::AlignTop;

QString Normalised(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

CXLabel::CXLabel(const QString& text, QWidget* parent)
    : QWidget(parent),
      text_(Normalised(text)),
      textColor_(palette().color(QPalette::WindowText)),
      backColor_(palette().color(QPalette::Button)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CXLabel::SetText(const QString& text) {
    {
        std::lock_guard lock(mutex_);
        QString normalised = Normalised(text);
        if (normalised == text_) {
            return;
        }
        text_ = std::move(normalised);
    }
    repaint_.Post();
}

QString CXLabel::Text() const {
    std::lock_guard lock(mutex_);
    return text_;
}

void CXLabel::SetColors(const QColor& text, const QColor& background) {
    {
        std::lock_guard lock(mutex_);
        if (text == textColor_ && background == backColor_) {
            return;
        }
        textColor_ = text;
        backColor_ = background;
    }
    repaint_.Post();
}

void CXLabel::SetColors(ColorRef text, ColorRef background) {
    SetColors(FromColorRef(text), FromColorRef(background));
}

QColor CXLabel::TextColor() const {
    std::lock_guard lock(mutex_);
    return textColor_;
}

QColor CXLabel::BackgroundColor() const {
    std::lock_guard lock(mutex_);
    return backColor_;
}

void CXLabel::SetBold(bool bold) {
    OnUiThread(this, [this, bold] {
        QFont f = font();
        f.setBold(bold);
        setFont(f);
    });
}

void CXLabel::SetFontSize(int points) {
    if (points <= 0) {
        return;
    }
    OnUiThread(this, [this, points] {
        QFont f = font();
        f.setPointSize(points);
        setFont(f);
    });
}

QSize CXLabel::sizeHint() const {
    const QString text = Text();
    return fontMetrics().boundingRect(QRect(), kTextFlags, text).size() + QSize(4, 2);
}

void CXLabel::paintEvent(QPaintEvent*) {
    QString text;
    QColor textColor;
    QColor backColor;
    {
        std::lock_guard lock(mutex_);
        text = text_;
        textColor = textColor_;
        backColor = backColor_;
    }
    QPainter painter(this);
    painter.fillRect(rect(), backColor);
    painter.setPen(textColor);
    painter.drawText(rect(), kTextFlags, text);
}

}  // namespace qav::controls
